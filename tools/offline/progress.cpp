#include "offline/progress.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <iostream>

cProgress::cProgress(int64_t total, bool onTerminal, FILE* out, bool lines)
    : m_total(total), m_tty(onTerminal && !lines), m_lines(lines), m_out(out), m_begin(clock::now()),
      m_lastDraw(m_begin)
{
}

double cProgress::seconds() const
{
    return std::chrono::duration<double>(clock::now() - m_begin).count();
}

double cProgress::fps(int64_t done) const
{
    const double s = seconds();
    return s > 0.0 ? double(done) / s : 0.0;
}

std::string minutes_seconds(double seconds)
{
    const long s = std::lround(seconds);
    char t[32];
    std::snprintf(t, sizeof t, "%ld:%02ld", s / 60, s % 60);
    return t;
}

std::string cProgress::line(int64_t done, int64_t total, double fps)
{
    char buf[96];
    std::string left = "--:--";
    if (fps > 0.0)
        left = minutes_seconds(double(total - done) / fps);
    std::snprintf(buf, sizeof buf, "frame %lld/%lld  %.1f fps  %s left", static_cast<long long>(done),
                  static_cast<long long>(total), fps, left.c_str());
    return buf;
}

void cProgress::update(int64_t done)
{
    const clock::time_point now = clock::now();
    if (m_lines) {
        if (done != m_lastDone && (done >= m_total || now - m_lastDraw >= std::chrono::seconds(1))) {
            m_lastDraw = now;
            m_lastDone = done;
            std::fprintf(m_out, "# progress %lld %lld\n", static_cast<long long>(done),
                         static_cast<long long>(m_total));
            std::fflush(m_out);
        }
        return;
    }
    if (!m_tty)
        return;
    if (m_drawn && done < m_total && now - m_lastDraw < std::chrono::milliseconds(250))
        return;
    m_lastDraw = now;
    m_drawn = true;
    std::fprintf(m_out, "\r%s\033[K", line(done, m_total, fps(done)).c_str());
    std::fflush(m_out);
}

void cProgress::finish()
{
    if (m_tty && m_drawn) {
        std::fprintf(m_out, "\r\033[K");
        std::fflush(m_out);
    }
}

cQuietStdout::cQuietStdout()
{
    std::cout.flush();
    std::fflush(stdout);
    m_saved = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
        dup2(null, 1);
        close(null);
    }
}

cQuietStdout::~cQuietStdout()
{
    std::cout.flush();
    std::fflush(stdout);
    if (m_saved >= 0) {
        dup2(m_saved, 1);
        close(m_saved);
    }
}

void cQuietStdout::print(const std::string& text)
{
    const int fd = m_saved >= 0 ? m_saved : 1;
    size_t off = 0;
    while (off < text.size()) {
        const ssize_t n = write(fd, text.data() + off, text.size() - off);
        if (n <= 0)
            break;
        off += size_t(n);
    }
}
