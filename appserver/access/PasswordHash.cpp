#include "PasswordHash.h"

#include "Errors.h"

#include <sodium.h>

namespace fai::appserver {
namespace {

void InitializeSodium() {
    static const int ready = sodium_init();
    if (ready < 0) throw EError(QStringLiteral("A biblioteca libsodium não pôde ser iniciada."));
}

}  // namespace

QString PasswordHash::Of(const QString& password) {
    InitializeSodium();
    const QByteArray secret = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(
            hash, secret.constData(), static_cast<unsigned long long>(secret.size()),
            crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
            crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw EError(QStringLiteral("Memória insuficiente para calcular o hash da senha."));
    return QString::fromLatin1(hash);
}

bool PasswordHash::Matches(const QString& hash, const QString& password) {
    InitializeSodium();
    const QByteArray stored = hash.toLatin1();
    const QByteArray secret = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), secret.constData(),
                                    static_cast<unsigned long long>(secret.size())) == 0;
}

}  // namespace fai::appserver
