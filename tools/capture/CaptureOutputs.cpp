#include "CaptureOutputs.h"

#include <cstdio>
#include <streambuf>
#include <system_error>

#include "platform/AtomicFile.h"

namespace ondrix {

namespace {

// AtomicFile reports a failed write or rename as "path: reason", which is what the user reads.
void CommitInto(AtomicFile& file, std::vector<std::string>& failures) {
    try {
        file.Commit();
    } catch (const std::system_error& error) {
        failures.emplace_back(error.what());
    }
}

}  // namespace

// A std::streambuf over the temporary file's stream, so the TSV goes through one writer whether
// it ends in a file or on standard output.
class CaptureOutputs::FileBuffer : public std::streambuf {
public:
    explicit FileBuffer(std::FILE* file) : file_(file) {}

protected:
    int_type overflow(int_type ch) override {
        return ch == traits_type::eof() || std::fputc(ch, file_) != EOF ? traits_type::not_eof(ch) : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<size_t>(count), file_));
    }

private:
    std::FILE* file_;
};

CaptureOutputs::CaptureOutputs(const std::string& tsvPath, const std::string& datPath, std::ostream& standardOutput) {
    if (tsvPath == "-") {
        tsv_ = &standardOutput;
    } else if (!tsvPath.empty()) {
        tsvFile_ = std::make_unique<AtomicFile>(tsvPath);
        tsvBuffer_ = std::make_unique<FileBuffer>(tsvFile_->Stream());
        tsvStream_ = std::make_unique<std::ostream>(tsvBuffer_.get());
        tsv_ = tsvStream_.get();
    }
    if (!datPath.empty()) datFile_ = std::make_unique<AtomicFile>(datPath);
}

CaptureOutputs::~CaptureOutputs() = default;

std::vector<std::string> CaptureOutputs::Commit(const RecordedData& data) {
    std::vector<std::string> failures;
    if (tsvFile_) {
        tsvStream_->flush();
        CommitInto(*tsvFile_, failures);
    }
    if (datFile_) {
        const std::vector<uint8_t> bytes = EncodeRecordedData(data);
        // A short write leaves the stream's error flag set, which Commit reports.
        std::fwrite(bytes.data(), 1, bytes.size(), datFile_->Stream());
        CommitInto(*datFile_, failures);
    }
    return failures;
}

}  // namespace ondrix
