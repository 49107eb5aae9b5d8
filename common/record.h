#pragma once
// A fixed-length record kept as its raw bytes, with typed little-endian accessors, so
// that fields an operation does not touch (reserved areas, NULs) survive a read and a write.
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vt {

class RawRecord {
public:
    explicit RawRecord(int size) : m_bytes(size, '\0') {}
    RawRecord(int size, const QByteArray& bytes);

    const QByteArray& bytes() const { return m_bytes; }
    int size() const { return static_cast<int>(m_bytes.size()); }
    bool isZero() const;

    // Text at its full width, NULs read as spaces.
    QString text(int offset, int width) const;
    // Encoded, padded and cut to the width; throws EncodingError.
    void setText(int offset, int width, const QString& value);

    int16_t int16(int offset) const;
    int32_t int32(int offset) const;
    float single(int offset) const;
    double dbl(int offset) const;
    void setInt16(int offset, int16_t v);
    void setInt32(int offset, int32_t v);
    void setSingle(int offset, float v);
    void setDouble(int offset, double v);
    void setRaw(int offset, const QByteArray& raw);

    bool operator==(const RawRecord& o) const { return m_bytes == o.m_bytes; }

protected:
    // Refuses an array index outside its declared bounds (throws Error).
    static void checkIndex(int index, int low, int high, const char* field);

private:
    void checkRange(int offset, int width) const;
    QByteArray m_bytes;
};

// A record type of fixed length N.
template <int N> class FixedRecord : public RawRecord {
public:
    static constexpr int Size = N;
    FixedRecord() : RawRecord(N) {}
    explicit FixedRecord(const QByteArray& bytes) : RawRecord(N, bytes) {}
};

} // namespace vt
