#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace kesmaro {

// Unwritten record lines kept while the record file cannot be written.
constexpr int kRecordBacklogLimit = 10000;

// Where one record line belongs: the file is chosen when the line is made, so that a line kept
// across the end of a run or a month still goes into its own file.
struct RecordTarget {
    std::string folder; // ends without a separator
    std::string path;
    std::string header;
};

// What the record writer remembers between lines.
struct RecordFileState {
    struct Pending {
        RecordTarget target;
        std::string line;
    };
    std::deque<Pending> backlog;
    bool failing = false;     // the failure has been reported and not yet the recovery
    bool overflowed = false;  // the drop of the oldest lines has been reported
    std::int64_t dropped = 0; // lines dropped since the failure began
};

} // namespace kesmaro
