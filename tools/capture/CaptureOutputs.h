#pragma once
// The recorder's files: created before the port is touched, so that a wrong path costs no
// acquisition, and made visible under their names only when complete (AtomicFile).
//
// Each file is committed on its own: a .dat that cannot be written (a full disk) must not cost
// a TSV that was written whole somewhere else.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "acquisition/RecordedData.h"

namespace ondrix {

class AtomicFile;

class CaptureOutputs {
public:
    // An empty path asks for no such file; "-" as the TSV path is `standardOutput`. Throws
    // std::system_error, naming the path, when a file cannot be created.
    CaptureOutputs(const std::string& tsvPath, const std::string& datPath, std::ostream& standardOutput);
    ~CaptureOutputs();
    CaptureOutputs(const CaptureOutputs&) = delete;
    CaptureOutputs& operator=(const CaptureOutputs&) = delete;

    // Where the TSV lines go while recording; null when no TSV is asked for.
    std::ostream* Tsv() const { return tsv_; }
    bool WantsRecordedData() const { return datFile_ != nullptr; }

    // Writes `data` as the recorded file (ignored without one) and makes every file visible.
    // Returns one text per file that could not be written, "path: reason"; a file that fails
    // leaves nothing behind, and the others are kept all the same.
    std::vector<std::string> Commit(const RecordedData& data);

private:
    class FileBuffer;

    std::unique_ptr<AtomicFile> tsvFile_;
    std::unique_ptr<FileBuffer> tsvBuffer_;
    std::unique_ptr<std::ostream> tsvStream_;
    std::ostream* tsv_ = nullptr;
    std::unique_ptr<AtomicFile> datFile_;
};

}  // namespace ondrix
