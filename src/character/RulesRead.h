#pragma once
// Small readers shared by the rules operations that move choices into the
// record: reading a column of a rules recordset (opened with rules::Open) with
// the two meanings the rules data give an empty cell.
#include "frame/Rules.h"
#include "platform/dao.h"
#include "platform/vb.h"

#include <QString>

namespace rulesread {

// An identifier or a flag: an empty cell counts as 0 (it names nothing).
inline qint32 Id(const dao::Recordset &rs, const QString &column)
{
    const dao::Field f = rs.Fields(column);
    return f.isNull() ? 0 : vb::CLng(f.Value());
}

// A number the rules need (ranks, a bonus): an empty cell is an error, since
// reading it as 0 would silently change what the rules give.
inline qint32 Need(const dao::Recordset &rs, const QString &column)
{
    const dao::Field f = rs.Fields(column);
    if (f.isNull())
        vb::Raise(vb::ErrInvalidUseOfNull);
    return vb::CLng(f.Value());
}

inline bool Flag(const dao::Recordset &rs, const QString &column)
{
    const dao::Field f = rs.Fields(column);
    return !f.isNull() && vb::CDbl(f.Value()) != 0;
}

inline QString Text(const dao::Recordset &rs, const QString &column)
{
    const dao::Field f = rs.Fields(column);
    return f.isNull() ? QString() : f.toString();
}

} // namespace rulesread
