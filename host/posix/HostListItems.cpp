#include "HostListItems.h"

#include <iterator>
#include <utility>

namespace {

// Runs split in halves past this length.
constexpr std::size_t kMaxRun = 1024;

}  // namespace

HostListItems::const_iterator& HostListItems::const_iterator::operator++()
{
    if (++m_nOffset == m_pItems->m_runs[m_nRun].size()) {
        ++m_nRun;
        m_nOffset = 0;
    }
    return *this;
}

const std::string& HostListItems::operator[](std::size_t index) const
{
    Place place = Locate(index);
    return m_runs[place.run][place.offset];
}

// The run and offset of an entry that exists.
HostListItems::Place HostListItems::Locate(std::size_t index) const
{
    if (m_nCachedRun >= m_runs.size() || index < m_nCachedStart) {
        m_nCachedRun = 0;
        m_nCachedStart = 0;
    }
    while (index - m_nCachedStart >= m_runs[m_nCachedRun].size()) {
        m_nCachedStart += m_runs[m_nCachedRun].size();
        ++m_nCachedRun;
    }
    return { m_nCachedRun, index - m_nCachedStart };
}

void HostListItems::insert(std::size_t index, std::string entry)
{
    Place place{ m_runs.size(), 0 };
    if (index < m_nSize) {
        place = Locate(index);
    } else if (!m_runs.empty()) {
        place = { m_runs.size() - 1, m_runs.back().size() };
    } else {
        m_runs.emplace_back();
        place = { 0, 0 };
    }
    std::vector<std::string>& run = m_runs[place.run];
    run.insert(run.begin() + static_cast<std::ptrdiff_t>(place.offset), std::move(entry));
    ++m_nSize;
    if (run.size() > kMaxRun) {
        auto middle = run.begin() + static_cast<std::ptrdiff_t>(run.size() / 2);
        std::vector<std::string> second(std::make_move_iterator(middle), std::make_move_iterator(run.end()));
        run.erase(middle, run.end());
        m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(place.run) + 1, std::move(second));
    }
    // Runs at and after the insert changed.
    if (m_nCachedRun >= place.run) {
        m_nCachedRun = 0;
        m_nCachedStart = 0;
    }
}

void HostListItems::clear()
{
    m_runs.clear();
    m_nSize = 0;
    m_nCachedRun = 0;
    m_nCachedStart = 0;
}
