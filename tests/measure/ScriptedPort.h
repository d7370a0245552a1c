#pragma once

// An in-memory byte port with a simulated clock: a read of a queued byte costs 0.2 ms, a read
// with nothing queued is a time-out of 150 ms, as on the real port. `m_onWrite` plays the
// instrument by queueing answers.
#include "IBytePort.h"

#include <deque>
#include <functional>

class ScriptedPort : public IBytePort {
public:
    static constexpr int Pause = -2; // queued: one read times out here

    ~ScriptedPort() override {
        if (m_onClose)
            m_onClose(*this);
    }

    void Purge() override {
        m_input.clear();
        ++m_nPurges;
    }
    bool Write(const QByteArray& bytes) override {
        m_written += bytes;
        m_nowUs += 200 * bytes.size();
        if (m_onWrite)
            m_onWrite(*this, bytes);
        return true;
    }
    int ReadByte() override {
        if (m_bBabble) {
            m_nowUs += 200;
            return 'z';
        }
        if (m_input.empty() || m_input.front() == Pause) {
            if (!m_input.empty())
                m_input.pop_front();
            m_nowUs += 150000;
            ++m_nTimeouts;
            return Timeout;
        }
        const int b = m_input.front();
        m_input.pop_front();
        m_nowUs += m_nByteUs;
        return b;
    }
    qint64 NowMs() override { return m_nowUs / 1000; }
    void SetCancelFlag(const std::atomic_bool* flag) override { m_pCancel = flag; }

    void Send(const QByteArray& bytes) {
        for (char c : bytes)
            m_input.push_back(static_cast<unsigned char>(c));
    }

    std::function<void(ScriptedPort&, const QByteArray&)> m_onWrite;
    std::function<void(ScriptedPort&)> m_onClose;
    std::deque<int> m_input;
    QByteArray m_written;
    qint64 m_nowUs = 0;
    int m_nPurges = 0;
    int m_nTimeouts = 0;
    bool m_bBabble = false;
    qint64 m_nByteUs = 200; // what reading one queued byte costs
    const std::atomic_bool* m_pCancel = nullptr;
};
