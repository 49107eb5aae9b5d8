#include "record.h"

#include "errors.h"
#include "text.h"

#include <QtEndian>

#include <cstring>

namespace vt {

RawRecord::RawRecord(int size, const QByteArray& bytes) : m_bytes(bytes.left(size)) {
    if (m_bytes.size() < size)
        m_bytes.append(QByteArray(size - m_bytes.size(), '\0'));
}

bool RawRecord::isZero() const {
    for (char c : m_bytes)
        if (c != 0)
            return false;
    return true;
}

void RawRecord::checkRange(int offset, int width) const {
    if (offset < 0 || width < 0 || offset + width > m_bytes.size())
        throw Error(QStringLiteral("Champ hors de l'enregistrement (position %1).").arg(offset));
}

void RawRecord::checkIndex(int index, int low, int high, const char* field) {
    if (index < low || index > high)
        throw Error(QStringLiteral("Indice %1 hors des bornes de %2 (%3 à %4).")
                        .arg(index)
                        .arg(QString::fromLatin1(field))
                        .arg(low)
                        .arg(high));
}

QString RawRecord::text(int offset, int width) const {
    checkRange(offset, width);
    return decodeText(QByteArrayView(m_bytes.constData() + offset, width));
}

void RawRecord::setText(int offset, int width, const QString& value) {
    checkRange(offset, width);
    QByteArray enc = encodeText(value, width);
    std::memcpy(m_bytes.data() + offset, enc.constData(), width);
}

int16_t RawRecord::int16(int offset) const {
    checkRange(offset, 2);
    return qFromLittleEndian<qint16>(m_bytes.constData() + offset);
}
int32_t RawRecord::int32(int offset) const {
    checkRange(offset, 4);
    return qFromLittleEndian<qint32>(m_bytes.constData() + offset);
}
float RawRecord::single(int offset) const {
    checkRange(offset, 4);
    quint32 u = qFromLittleEndian<quint32>(m_bytes.constData() + offset);
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}
double RawRecord::dbl(int offset) const {
    checkRange(offset, 8);
    quint64 u = qFromLittleEndian<quint64>(m_bytes.constData() + offset);
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}
void RawRecord::setInt16(int offset, int16_t v) {
    checkRange(offset, 2);
    qToLittleEndian<qint16>(v, m_bytes.data() + offset);
}
void RawRecord::setInt32(int offset, int32_t v) {
    checkRange(offset, 4);
    qToLittleEndian<qint32>(v, m_bytes.data() + offset);
}
void RawRecord::setSingle(int offset, float v) {
    checkRange(offset, 4);
    quint32 u;
    std::memcpy(&u, &v, 4);
    qToLittleEndian<quint32>(u, m_bytes.data() + offset);
}
void RawRecord::setDouble(int offset, double v) {
    checkRange(offset, 8);
    quint64 u;
    std::memcpy(&u, &v, 8);
    qToLittleEndian<quint64>(u, m_bytes.data() + offset);
}
void RawRecord::setRaw(int offset, const QByteArray& raw) {
    checkRange(offset, static_cast<int>(raw.size()));
    std::memcpy(m_bytes.data() + offset, raw.constData(), raw.size());
}

} // namespace vt
