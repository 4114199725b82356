// libFuzzer harness: any bytes as a capture segment, read the way `wendit
// join` reads one: its head first (container, tags, stream, every picture's
// slice checksums), then, when the head is sound, every picture decoded
// and checked against the size the tags give. Segments come from other
// machines and disks, so nothing in them is trusted. The bytes are handed
// over as a file without touching the disk (an anonymous memory file,
// opened by its /proc path).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "segments/segment_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int fd = memfd_create("segment", 0);
    if (fd < 0)
        std::abort();
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0)
            std::abort();
        done += size_t(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    SegmentHead head;
    std::string error;
    if (read_segment_head(path, head, error)) {
        if (!error.empty() || head.pictures < 0)
            std::abort();
        cSegmentReader reader;
        if (reader.open(path, head.info, error)) {
            std::vector<uint8_t> bgra;
            int64_t pictures = 0;
            while (reader.next(bgra, error)) {
                // A picture handed out is the whole size the tags promise.
                if (bgra.size() != size_t(head.info.width) * size_t(head.info.height) * 4)
                    std::abort();
                ++pictures;
            }
            // The decoder never gives more pictures than the head counted.
            if (pictures > head.pictures)
                std::abort();
        }
    } else if (error.empty()) {
        std::abort();  // a refusal always says why
    }
    close(fd);
    return 0;
}
