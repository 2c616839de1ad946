// The entries of a list box, in order. Kept in runs of bounded length, so
// that an insert into a long sorted list moves the entries of one run, not
// all that follow it; reading them in order costs no more than a vector.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class HostListItems {
public:
    class const_iterator {
    public:
        const_iterator(const HostListItems* pItems, std::size_t run, std::size_t offset)
            : m_pItems(pItems), m_nRun(run), m_nOffset(offset) {}
        const std::string& operator*() const { return m_pItems->m_runs[m_nRun][m_nOffset]; }
        const_iterator& operator++();
        bool operator!=(const const_iterator& other) const
        {
            return m_nRun != other.m_nRun || m_nOffset != other.m_nOffset;
        }

    private:
        const HostListItems* m_pItems;
        std::size_t m_nRun;
        std::size_t m_nOffset;
    };

    std::size_t size() const { return m_nSize; }
    bool empty() const { return m_nSize == 0; }
    const std::string& operator[](std::size_t index) const;
    const_iterator begin() const { return const_iterator(this, 0, 0); }
    const_iterator end() const { return const_iterator(this, m_runs.size(), 0); }

    // Inserts before the entry at index; size() appends.
    void insert(std::size_t index, std::string entry);
    // The index after the last entry that is not greater than `entry`.
    template <typename Less>
    std::size_t upper_bound(const std::string& entry, Less less) const;
    void clear();

private:
    struct Place {
        std::size_t run;
        std::size_t offset;
    };
    Place Locate(std::size_t index) const;

    std::vector<std::vector<std::string>> m_runs;  // none empty
    std::size_t m_nSize = 0;
    // Where the last lookup ended, so that reading in order walks no runs.
    mutable std::size_t m_nCachedRun = 0;
    mutable std::size_t m_nCachedStart = 0;
};

template <typename Less>
std::size_t HostListItems::upper_bound(const std::string& entry, Less less) const
{
    std::size_t start = 0;
    for (const std::vector<std::string>& run : m_runs) {
        if (less(entry, run.back())) {
            std::size_t low = 0;
            std::size_t high = run.size();
            while (low < high) {
                std::size_t middle = low + (high - low) / 2;
                if (less(entry, run[middle]))
                    high = middle;
                else
                    low = middle + 1;
            }
            return start + low;
        }
        start += run.size();
    }
    return m_nSize;
}
