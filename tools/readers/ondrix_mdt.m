function [n, ch1, ch2, ch3, ch4] = ondrix_mdt(filename)
% ONDRIX_MDT  Read the scope's analysis export (".mdt") into an analysis session.
%
%   [n, ch1, ch2, ch3, ch4] = ondrix_mdt(filename)
%
%   n is the number of points per channel; ch1..ch4 are n-by-1 columns of doubles holding the
%   channels' signed 16-bit values, oldest first. Point i of the four channels was taken at
%   the same sample. For one n-by-4 matrix: [n, a, b, c, d] = ondrix_mdt(f); m = [a b c d];
%
%   The file holds, little-endian: n (unsigned 32-bit), then channel 1's n values, channel
%   2's, channel 3's and channel 4's (signed 16-bit each): 8n + 4 bytes, with no titles,
%   addresses or X values. A file of any other size is refused with the error identifier
%   'ondrix_mdt:size' rather than read as wrong columns.

  [fid, reason] = fopen(filename, 'r', 'ieee-le');
  if fid < 0
    error('ondrix_mdt:open', 'ondrix_mdt: cannot open %s: %s', filename, reason);
  end

  fseek(fid, 0, 'eof');
  bytes = ftell(fid);
  fseek(fid, 0, 'bof');
  n = fread(fid, 1, 'uint32=>double');
  if isempty(n) || bytes ~= 8 * n + 4
    fclose(fid);
    error('ondrix_mdt:size', 'ondrix_mdt: %s has %d bytes, which is not 8n + 4 for its count', ...
          filename, bytes);
  end

  % The channels follow one another whole, which is the order reshape fills a matrix's columns.
  columns = reshape(fread(fid, 4 * n, 'int16=>double'), n, 4);
  fclose(fid);
  ch1 = columns(:, 1);
  ch2 = columns(:, 2);
  ch3 = columns(:, 3);
  ch4 = columns(:, 4);
end
