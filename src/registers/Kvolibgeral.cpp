#include "registers/Kvolibgeral.h"

#include "framework/db/RecordSet.h"

namespace kvo {

QString RegistroTextoDataSet(const RecordSet& rs) {
    QStringList partes;
    for (int i = 0; i < rs.fieldCount(); ++i) {
        const Field& f = rs.field(i);
        if (f.kind() == FieldKind::Calculated)
            continue;
        const QVariant v = f.value();
        QString texto;
        if (!v.isNull()) {
            switch (f.type()) {
            case FieldType::Currency:
                texto = f.asCurrency().toString();
                break;
            case FieldType::Integer:
                texto = QString::number(f.asInteger());
                break;
            case FieldType::Date:
                texto = f.asDate().toString(QStringLiteral("yyyy-MM-dd"));
                break;
            case FieldType::DateTime:
                texto = f.asDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                break;
            case FieldType::Blob:
                texto = QString::fromLatin1(v.toByteArray().toHex());
                break;
            default: {
                texto = v.toString();
                while (texto.endsWith(u' '))
                    texto.chop(1);
            }
            }
        }
        partes << f.name() + u'=' + texto;
    }
    return partes.join(u'|');
}

} // namespace kvo
