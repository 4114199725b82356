#include "segments/mkv_checksums.h"

#include <cstdio>
#include <memory>
#include <vector>

extern "C" {
#include <libavutil/crc.h>
}

namespace {
const uint32_t EBML_HEADER = 0x1A45DFA3, SEGMENT = 0x18538067, CRC32 = 0xBF, VOID_ELEMENT = 0xEC;
const uint64_t UNKNOWN = ~uint64_t(0);
const uint64_t LARGEST = uint64_t(1) << 30;  // no top-level element of a segment is larger

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// An EBML variable-length number: an element's id (marker kept) or size
// (marker removed; all ones is "unknown"). False at the end of the file or
// on a malformed one.
bool read_vint(FILE* f, bool isId, uint64_t& value)
{
    const int first = std::fgetc(f);
    if (first == EOF || first == 0)
        return false;
    int length = 1;
    while (!(first & (0x80 >> (length - 1))))
        ++length;
    if (isId && length > 4)
        return false;
    value = isId ? uint64_t(first) : uint64_t(first & (0xFF >> length));
    bool allOnes = value == uint64_t(0xFF >> length);
    for (int i = 1; i < length; ++i) {
        const int c = std::fgetc(f);
        if (c == EOF)
            return false;
        value = (value << 8) | uint64_t(c);
        allOnes = allOnes && c == 0xFF;
    }
    if (!isId && allOnes)
        value = UNKNOWN;
    return true;
}

MkvCheck fail(const std::string& problem, bool truncated = false)
{
    MkvCheck c;
    c.truncated = truncated;
    c.problem = problem;
    return c;
}
}  // namespace

MkvCheck check_mkv_checksums(const std::string& path)
{
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return fail("cannot be read");
    FILE* f = file.get();
    std::fseek(f, 0, SEEK_END);
    const uint64_t fileSize = uint64_t(std::ftell(f));
    std::fseek(f, 0, SEEK_SET);

    uint64_t id = 0, size = 0;
    if (!read_vint(f, true, id) || id != EBML_HEADER || !read_vint(f, false, size) || size == UNKNOWN ||
        std::fseek(f, long(size), SEEK_CUR) != 0)
        return fail("not a Matroska file");
    if (!read_vint(f, true, id) || id != SEGMENT || !read_vint(f, false, size))
        return fail("not a Matroska file");
    const uint64_t begin = uint64_t(std::ftell(f));
    if (size == UNKNOWN)
        return fail("damaged: its segment was never completed (no size)");
    const uint64_t end = begin + size;
    if (end > fileSize)
        return fail("damaged: the file ends at byte " + std::to_string(fileSize) + " of " + std::to_string(end), true);

    const AVCRC* table = av_crc_get_table(AV_CRC_32_IEEE_LE);
    std::vector<uint8_t> payload;
    uint64_t at = begin;
    while (at < end) {
        if (!read_vint(f, true, id) || !read_vint(f, false, size) || size == UNKNOWN)
            return fail("damaged: a malformed element at byte " + std::to_string(at));
        const uint64_t start = uint64_t(std::ftell(f));
        if (start + size > end)
            return fail("damaged: an element at byte " + std::to_string(at) + " runs past the end");
        if (id == VOID_ELEMENT) {  // padding, nothing to check
            std::fseek(f, long(size), SEEK_CUR);
            at = start + size;
            continue;
        }
        if (size > LARGEST)
            return fail("damaged: an element of " + std::to_string(size) + " bytes at byte " + std::to_string(at));
        payload.resize(size_t(size));
        if (size && std::fread(payload.data(), 1, payload.size(), f) != payload.size())
            return fail("damaged: cannot read byte " + std::to_string(start));
        // The checksum element comes first: id, size 4, the CRC little-endian.
        if (size < 6 || payload[0] != CRC32 || payload[1] != 0x84)
            return fail("damaged: the element at byte " + std::to_string(at) + " carries no checksum");
        const uint32_t stored = uint32_t(payload[2]) | uint32_t(payload[3]) << 8 | uint32_t(payload[4]) << 16 |
                                uint32_t(payload[5]) << 24;
        const uint32_t actual = av_crc(table, UINT32_MAX, payload.data() + 6, payload.size() - 6) ^ UINT32_MAX;
        if (stored != actual)
            return fail("damaged: the data at bytes " + std::to_string(start) + " to " + std::to_string(start + size) +
                        " fails its checksum");
        at = start + size;
    }
    MkvCheck ok;
    ok.intact = true;
    return ok;
}
