// libFuzzer harness: the command lines of `wendit capture` and `wendit
// contact`, read and their range checked against the show's marker script.
// The input is a first byte choosing the command (odd: contact), then the
// arguments separated by NUL bytes. Nothing is opened or written: the
// outputs' directories are not checked here.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "offline/capture_options.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"

namespace {
const char* const SHOW_SCRIPT =
    "s00 00:00:00,000\ns01 00:00:10,000\ns03 00:00:25,500\ns05 00:00:38,000\nsnare 00:00:12,500\n"
    "quit 00:01:33,000\n";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool contact = data[0] & 1;
    std::vector<std::string> args(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += char(data[i]);
    }
    CaptureOptions o;
    std::string error;
    if (!parse_capture_args(args, contact, o, error)) {
        if (error.empty())
            std::abort();  // a refusal always says why
        return 0;
    }
    static const std::unique_ptr<cEventQueue> queue([] {
        std::ostringstream warn;
        const std::string s = SHOW_SCRIPT;
        return cEventQueue_factory::parse(s.data(), s.size(), warn);
    }());
    if (!check_range(*queue, o, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    // An accepted range is not empty and lies in the show; the numbers are sane.
    if (o.toMs <= o.fromMs || o.fromMs < 0 || o.toMs > 93000 || o.fps < 1 || o.fps > 240 || o.width < 16 ||
        o.height < 16)
        std::abort();
    return 0;
}
