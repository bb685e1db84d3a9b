#include "data/FileLookup.h"

#include <QDir>
#include <QFileInfo>

namespace data {

QString resolveFileName(const QString& name, const QString& dir)
{
    const QDir base(dir.isEmpty() ? QDir::currentPath() : dir);
    const QFileInfo exact(base, name);
    if (exact.exists())
        return exact.filePath();
    const QFileInfo requested(name);
    QDir parent(base.filePath(requested.path()));
    const QStringList entries = parent.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(requested.fileName(), Qt::CaseInsensitive) == 0)
            return parent.filePath(entry);
    }
    return exact.filePath();
}

} // namespace data
