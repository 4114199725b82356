#include "encode/frame_sink.h"

#include "encode/frame_out.h"
#include "offline/png_file.h"

cFrameSink::cFrameSink(iFrameOut* video, const std::string& pngDir, int width, int height)
    : m_video(video), m_pngDir(pngDir), m_w(width), m_h(height)
{
    m_worker = std::thread(&cFrameSink::work, this);
}

cFrameSink::~cFrameSink()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
        m_jobs.clear();
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

std::vector<uint8_t> cFrameSink::buffer()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_spare.empty())
        return {};
    std::vector<uint8_t> b = std::move(m_spare.back());
    m_spare.pop_back();
    return b;
}

bool cFrameSink::push(int64_t index, std::vector<uint8_t>&& bgra)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.size() < MAX_QUEUED || m_failed; });
    if (m_failed)
        return false;
    m_jobs.push_back(Job{index, std::move(bgra)});
    lock.unlock();
    m_changed.notify_all();
    return true;
}

bool cFrameSink::finish(std::string& error)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    if (!m_failed && m_video && !m_video->finish(m_error))
        m_failed = true;
    error = m_error;
    return !m_failed;
}

int64_t cFrameSink::written() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_written;
}

void cFrameSink::work()
{
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_jobs.empty() || m_closing; });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        m_changed.notify_all();
        std::string error;
        bool ok = !m_video || m_video->add_frame(job.bgra.data(), error);
        if (ok && !m_pngDir.empty())
            ok = write_png_bgra(png_frame_path(m_pngDir, job.index), job.bgra.data(), m_w, m_h, error);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!ok) {
            m_failed = true;
            m_error = error;
            m_jobs.clear();
            m_changed.notify_all();
            return;
        }
        ++m_written;
        m_spare.push_back(std::move(job.bgra));
    }
}
