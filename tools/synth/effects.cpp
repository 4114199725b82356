#include "effects.h"

#include <algorithm>
#include <cstddef>

namespace {

class Comb {
public:
    Comb(size_t len, float feedback, float damp) : m_buf(len, 0.0f), m_fb(feedback), m_damp(damp) {}
    float run(float x)
    {
        const float y = m_buf[m_pos];
        m_store = y * (1.0f - m_damp) + m_store * m_damp;
        m_buf[m_pos] = x + m_store * m_fb;
        if (++m_pos == m_buf.size())
            m_pos = 0;
        return y;
    }

private:
    std::vector<float> m_buf;
    size_t m_pos = 0;
    float m_fb, m_damp, m_store = 0.0f;
};

class Allpass {
public:
    explicit Allpass(size_t len) : m_buf(len, 0.0f) {}
    float run(float x)
    {
        const float d = m_buf[m_pos];
        const float y = d - 0.5f * x;
        m_buf[m_pos] = x + 0.5f * d;
        if (++m_pos == m_buf.size())
            m_pos = 0;
        return y;
    }

private:
    std::vector<float> m_buf;
    size_t m_pos = 0;
};

size_t scaled(int len, int rate)
{
    return std::max<size_t>(1, size_t(double(len) * rate / 44100.0));
}

void reverb_side(const std::vector<float>& in, std::vector<float>& out, int rate, float wet,
                 const int (&combs)[5], const int (&passes)[2], int predelay)
{
    std::vector<Comb> c;
    for (int len : combs)
        c.emplace_back(scaled(len, rate), 0.85f, 0.35f);
    Allpass a0(scaled(passes[0], rate)), a1(scaled(passes[1], rate));
    const size_t pre = scaled(predelay, rate);
    for (size_t i = 0; i < in.size(); ++i) {
        const float x = i >= pre ? in[i - pre] * 0.12f : 0.0f;
        float s = 0.0f;
        for (Comb& k : c)
            s += k.run(x);
        out[i] += a1.run(a0.run(s)) * wet;
    }
}
}  // namespace

void add_reverb(const std::vector<float>& in, std::vector<float>& outL, std::vector<float>& outR,
                int rate, float wet)
{
    static const int COMBS_L[5] = {1433, 1601, 1747, 1867, 1999};
    static const int COMBS_R[5] = {1459, 1627, 1777, 1889, 2029};
    static const int PASS_L[2] = {563, 241};
    static const int PASS_R[2] = {587, 257};
    reverb_side(in, outL, rate, wet, COMBS_L, PASS_L, 900);
    reverb_side(in, outR, rate, wet, COMBS_R, PASS_R, 930);
}

void add_echo(const std::vector<float>& in, std::vector<float>& outL, std::vector<float>& outR,
              int rate, float delaySec, float feedback, float wet)
{
    const size_t d = std::max<size_t>(1, size_t(delaySec * rate + 0.5f));
    std::vector<float> bl(d, 0.0f), br(d, 0.0f);
    float lpL = 0.0f, lpR = 0.0f;
    size_t pos = 0;
    for (size_t i = 0; i < in.size(); ++i) {
        const float yl = bl[pos], yr = br[pos];
        // One-pole low-pass in the loop: each repeat is duller.
        lpL += 0.45f * (yl - lpL);
        lpR += 0.45f * (yr - lpR);
        bl[pos] = in[i] + lpR * feedback;
        br[pos] = lpL * feedback;
        if (++pos == d)
            pos = 0;
        outL[i] += yl * wet;
        outR[i] += yr * wet;
    }
}
