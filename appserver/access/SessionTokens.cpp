#include "SessionTokens.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <sodium.h>

namespace fai::appserver {
namespace {

constexpr int kTokenBytes = 32;

}  // namespace

QString SessionTokens::New() {
    QByteArray random(kTokenBytes, '\0');
    // randombytes_buf reads the kernel's generator; it needs no sodium_init to be safe.
    randombytes_buf(random.data(), static_cast<std::size_t>(random.size()));
    return QString::fromLatin1(
        random.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString SessionTokens::Digest(const QString& token) {
    return QString::fromLatin1(
        QCryptographicHash::hash(token.toUtf8(), QCryptographicHash::Sha256).toHex());
}

}  // namespace fai::appserver
