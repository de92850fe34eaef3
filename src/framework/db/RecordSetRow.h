#pragma once

// Internal to the record set's implementation files.
#include "framework/db/RecordSet.h"

namespace kvo {

struct RecordSet::Row {
    Bookmark id = 0;
    QVector<QVariant> values;
    QVector<QVariant> original;
    UpdateStatus status = UpdateStatus::Unmodified;
};

} // namespace kvo
