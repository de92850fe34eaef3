#pragma once

#include <QString>

namespace kvo {

// Stored form of a password: PBKDF2-HMAC-SHA256 of a random per-user salt,
// so a leaked table does not give the passwords away.
struct PasswordHash {
    QString salt; // 32 hex digits
    QString hash; // 64 hex digits

    static PasswordHash make(const QString& password);
    static QString hashWith(const QString& password, const QString& salt);
    // Constant-time comparison.
    static bool matches(const QString& password, const QString& salt, const QString& hash);
};

} // namespace kvo
