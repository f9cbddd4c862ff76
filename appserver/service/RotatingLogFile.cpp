#include "RotatingLogFile.h"

#include "Errors.h"

#include <cstdio>

namespace fai::appserver {

RotatingLogFile::RotatingLogFile(const QString& path, qint64 maxBytes, int keep)
    : path_(path), maxBytes_(maxBytes), keep_(keep), file_(path) {
    if (!Open())
        throw EError(QStringLiteral("Não foi possível abrir o registro de chamadas %1: %2.")
                         .arg(path, file_.errorString()));
}

bool RotatingLogFile::Open() {
    return file_.open(QIODevice::Append | QIODevice::Text, QFile::ReadOwner | QFile::WriteOwner);
}

void RotatingLogFile::Write(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    if (file_.isOpen() && file_.size() > 0 && file_.size() + bytes.size() > maxBytes_) Rotate();
    if (file_.isOpen() && file_.write(bytes) == bytes.size() && file_.flush()) return;
    std::fprintf(stderr, "%s", bytes.constData());
    std::fflush(stderr);
}

void RotatingLogFile::Rotate() {
    file_.close();
    QFile::remove(QStringLiteral("%1.%2").arg(path_).arg(keep_));
    for (int older = keep_ - 1; older >= 1; --older)
        QFile::rename(QStringLiteral("%1.%2").arg(path_).arg(older),
                      QStringLiteral("%1.%2").arg(path_).arg(older + 1));
    QFile::rename(path_, path_ + QStringLiteral(".1"));
    Open();
}

}  // namespace fai::appserver
