#pragma once
// Where read-back frames go: a worker thread of its own encodes them into
// the video file (or a segment) and writes them as PNG files, so the render loop only
// hands a buffer over and goes on drawing. At most a few frames wait; when
// the worker falls behind, the hand-over waits for it.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class iFrameOut;

class cFrameSink {
public:
    // video may be null (PNG frames only); pngDir empty: no PNG frames.
    cFrameSink(iFrameOut* video, const std::string& pngDir, int width, int height);
    ~cFrameSink();  // stops the worker (what is queued is dropped)
    cFrameSink(const cFrameSink&) = delete;
    cFrameSink& operator=(const cFrameSink&) = delete;

    // A buffer to fill (recycled from frames already written).
    std::vector<uint8_t> buffer();
    // Queues frame `index`; false once the worker has failed.
    bool push(int64_t index, std::vector<uint8_t>&& bgra);
    // Waits for every queued frame to be written and completes the video
    // file; false with the first error.
    bool finish(std::string& error);
    // Frames written so far.
    int64_t written() const;

    static constexpr size_t MAX_QUEUED = 3;

private:
    void work();
    struct Job {
        int64_t index;
        std::vector<uint8_t> bgra;
    };
    iFrameOut* m_video;
    std::string m_pngDir;
    int m_w, m_h;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    std::vector<std::vector<uint8_t>> m_spare;
    bool m_closing = false;
    bool m_failed = false;
    std::string m_error;
    int64_t m_written = 0;
    std::thread m_worker;
};
