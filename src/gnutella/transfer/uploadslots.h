#pragma once

#include <deque>

namespace gnutella {

// The upload slots of a node and the queue of downloaders waiting for one. A downloader that
// waits keeps its place by asking again now and then; a freed slot goes to the first in line
// who asks, and to newcomers only while it is more than the line needs.
class UploadSlots {
public:
    static constexpr int MostWaiting = 20;

    explicit UploadSlots(int count) : m_count(count) {}
    void setCount(int count) { m_count = count; }

    // A slot for who, when one is free for it; who leaves the line.
    bool take(const void* who);
    void give();
    // Puts who in line (at the end, the first time); its place from 1, or 0 when the line is full.
    int wait(const void* who);
    void leave(const void* who);
    int waiting() const { return int(m_line.size()); }
    int count() const { return m_count; }

private:
    int m_count;
    int m_used = 0;
    std::deque<const void*> m_line;
};

} // namespace gnutella
