#pragma once
// A sheet printed to a file reaches it whole or not at all.
#include <QByteArray>
#include <QString>

namespace print {

// Puts `bytes` in the file at `path` (a link: the file it leads to). They are
// written beside it under a hidden name marked as this program's, synced,
// and only then renamed over it: the file is afterwards either the whole new
// document or, when anything failed, what it was before, and nothing cut
// short is left under either name. A failure raises a vb::Refusal that names
// the file and its cause.
void WriteWholeFile(const QString &path, const QByteArray &bytes);

} // namespace print
