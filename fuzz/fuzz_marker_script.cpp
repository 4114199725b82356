// libFuzzer harness: any bytes as a marker script. The parser must never
// read outside the buffer, crash or leak, whatever the text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>

#include "timeline/cEventQueue_factory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::ostringstream warn;
    std::unique_ptr<cEventQueue> q(
        cEventQueue_factory::parse(reinterpret_cast<const char*>(data), size, warn));
    // Walk the queue as the show would.
    q->find_start_marker();
    while (q->next_due(1 << 30)) {
    }
    q->seek(0);
    q->find_quit();
    return 0;
}
