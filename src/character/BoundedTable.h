#pragma once
// Tables whose indexes run between fixed lower and upper bounds, as the rules
// code was written against: any index outside the bounds is error 9
// (subscript out of range), never undefined behaviour.
#include "platform/vb.h"

#include <QtGlobal>
#include <vector>

namespace character {

// One dimension, bounds lower..upper inclusive, fixed at construction.
template <typename T>
class BoundedArray {
public:
    BoundedArray(int lower, int upper) : m_lower(lower), m_cells(upper - lower + 1) {}

    int lower() const { return m_lower; }
    int upper() const { return m_lower + static_cast<int>(m_cells.size()) - 1; }

    T &operator()(qint64 i) { return m_cells[slot(i)]; }
    const T &operator()(qint64 i) const { return m_cells[slot(i)]; }

private:
    size_t slot(qint64 i) const
    {
        if (i < m_lower || i > upper())
            vb::Raise(vb::ErrSubscript);
        return static_cast<size_t>(i - m_lower);
    }

    int m_lower;
    std::vector<T> m_cells;
};

// Two dimensions, field 0..fields-1 by row lower..upper. The row range only
// grows (keeping every cell); a table may also have no rows at all until its
// first growth, in which case every index is out of range.
template <typename T>
class GrowTable {
public:
    GrowTable(int fields, int lower) : m_fields(fields), m_lower(lower) {}

    int fields() const { return m_fields; }
    int lower() const { return m_lower; }
    bool hasRows() const { return !m_cells.empty(); }
    // The last row; lower - 1 while the table has no rows.
    qint64 upper() const { return m_lower + rowCount() - 1; }
    qint64 rowCount() const { return static_cast<qint64>(m_cells.size()) / m_fields; }

    // Rows become lower..upper; existing cells keep their values, new ones are T{}.
    void redim(qint64 upper)
    {
        if (upper < m_lower)
            vb::Raise(vb::ErrSubscript);
        m_cells.resize(static_cast<size_t>((upper - m_lower + 1) * m_fields));
    }
    // Back to no rows.
    void clear() { m_cells.clear(); }

    T &operator()(qint64 field, qint64 row) { return m_cells[slot(field, row)]; }
    const T &operator()(qint64 field, qint64 row) const { return m_cells[slot(field, row)]; }

private:
    size_t slot(qint64 field, qint64 row) const
    {
        if (field < 0 || field >= m_fields || row < m_lower || row > upper())
            vb::Raise(vb::ErrSubscript);
        return static_cast<size_t>((row - m_lower) * m_fields + field);
    }

    int m_fields;
    int m_lower;
    std::vector<T> m_cells;   // row-major, so that growing keeps cells in place
};

} // namespace character
