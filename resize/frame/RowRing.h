#pragma once
// The horizontally filtered source rows a row driver keeps between destination rows.

#include <cstddef>

namespace resize::frame {

// N work rows, each holding the horizontal pass of one source row (named by its element offset
// from the region's first row). Bring() makes slot j show rows[j]: rows already held are kept,
// each missing row is filtered once into a row no longer needed. Rows may repeat (edge
// replication); a repeated row shares one work row. Because rows only move down, each source row
// a call needs is filtered once.
template <class Work, int N>
class RowRing {
public:
    explicit RowRing(void* const* workRows) {
        for (int b = 0; b < N; ++b) {
            buffers_[b] = static_cast<Work*>(workRows[b]);
            held_[b] = 0;
            valid_[b] = false;
            slots_[b] = buffers_[b];
        }
    }

    template <class Filter>
    void Bring(const std::ptrdiff_t (&rows)[N], Filter&& filter) {
        bool needed[N];
        for (int b = 0; b < N; ++b) {
            needed[b] = false;
            for (int j = 0; valid_[b] && j < N; ++j) {
                needed[b] = needed[b] || held_[b] == rows[j];
            }
        }
        for (int j = 0; j < N; ++j) {
            int found = Find(rows[j]);
            if (found < 0) {
                found = 0;
                while (needed[found]) {
                    ++found;
                }
                filter(rows[j], buffers_[found]);
                held_[found] = rows[j];
                valid_[found] = true;
                needed[found] = true;
            }
            slots_[j] = buffers_[found];
        }
    }

    const Work* operator[](int slot) const { return slots_[slot]; }

private:
    int Find(std::ptrdiff_t row) const {
        for (int b = 0; b < N; ++b) {
            if (valid_[b] && held_[b] == row) {
                return b;
            }
        }
        return -1;
    }

    Work* buffers_[N];
    std::ptrdiff_t held_[N];
    bool valid_[N];
    const Work* slots_[N];
};

}  // namespace resize::frame
