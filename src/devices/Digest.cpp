#include "devices/Digest.h"

#include "core/Text.h"

namespace kvo {

QString Digest::MD5FromString(const QString& text) const {
    return kvo::MD5FromString(text);
}

} // namespace kvo
