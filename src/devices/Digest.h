#pragma once

#include <QString>

namespace kvo {

// The digest component handed to the table check and the pre-sale merge: the
// integrity hash stamped on orders and pre-sales.
class Digest {
public:
    // 32 lower-case hexadecimal digits of the MD5 of the text's UTF-8 bytes.
    QString MD5FromString(const QString& text) const;
};

} // namespace kvo
