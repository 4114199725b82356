#pragma once
// The capture's temporary file, FILE.part, claimed for one capture.
//
// A capture writes FILE.part and renames it to FILE only when the video is
// complete, so a .part is never a finished video. A capture killed hard
// (SIGKILL, power loss) leaves its .part behind; the next capture to the
// same name finds it, says so and writes over it. While a capture writes,
// it holds a lock on its .part, so that a second capture to the same name
// at the same time is refused instead of writing into the first one's file.
#include <ostream>
#include <string>

class cPartialFile {
public:
    cPartialFile() = default;
    ~cPartialFile();  // releases the lock; the file stays
    cPartialFile(const cPartialFile&) = delete;
    cPartialFile& operator=(const cPartialFile&) = delete;

    // Creates `path` empty, or empties a stale one left there (after a line
    // on `note`), and locks it. False, with the reason in `error`, when the
    // file cannot be made or another capture holds it.
    bool claim(const std::string& path, std::ostream& note, std::string& error);
    void release();

private:
    int m_fd = -1;
};

// The ending of temporary capture files.
constexpr const char* PARTIAL_SUFFIX = ".part";
