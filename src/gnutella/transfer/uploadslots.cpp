#include "gnutella/transfer/uploadslots.h"

#include <algorithm>

namespace gnutella {

bool UploadSlots::take(const void* who)
{
    const int free = m_count - m_used;
    if (free <= 0)
        return false;
    const auto place = std::find(m_line.begin(), m_line.end(), who);
    // Those ahead in line come first: a free slot is who's if fewer wait before it.
    const auto ahead = place - m_line.begin();
    if (ahead >= free)
        return false;
    if (place != m_line.end())
        m_line.erase(place);
    ++m_used;
    return true;
}

void UploadSlots::give()
{
    m_used = std::max(m_used - 1, 0);
}

int UploadSlots::wait(const void* who)
{
    const auto place = std::find(m_line.begin(), m_line.end(), who);
    if (place != m_line.end())
        return int(place - m_line.begin()) + 1;
    if (int(m_line.size()) >= MostWaiting)
        return 0;
    m_line.push_back(who);
    return int(m_line.size());
}

void UploadSlots::leave(const void* who)
{
    std::erase(m_line, who);
}

} // namespace gnutella
