#include "fanciers/fancier_prints.h"

#include "common/damage.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/fancier_list.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

namespace vt {

FancierRecord readSeasonFancier(int recordNo) {
    return RecordFileOf<FancierRecord>(session().FancierFilePath).read(recordNo);
}

QList<FancierRecord> readListedFanciers(const QStringList& listLines) {
    // Read whole once: the file is opened once for thousands of fanciers, before the
    // print run can show its progress.
    const LoadedRecords file(RecordFileOf<FancierRecord>(session().FancierFilePath));
    QList<FancierRecord> out;
    out.reserve(listLines.size());
    for (const QString& line : listLines) {
        const int n = recordNoOfLine(line);
        out.append(n > 0 ? file.read<FancierRecord>(n) : FancierRecord());
    }
    return out;
}

QList<ReleaseSiteRecord> readGeneralSitesInFileOrder() {
    // Impossible coordinates read as 0 (the site gets no distance) and are noted.
    return readCheckedSites(session().GeneralSitesPath);
}

QImage fanciersPicture() {
    // A pigeon's emblem drawn once: a ring with a bird in flight, in the club's red.
    QImage image(80, 54, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(3780); // 96 dpi: 80 x 54 pixels print about 21 x 14 mm
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 0, 0), 3));
    p.drawEllipse(QRectF(14, 2, 50, 50));
    QPainterPath bird;
    bird.moveTo(20, 30);
    bird.cubicTo(30, 14, 38, 18, 40, 28);
    bird.cubicTo(44, 16, 54, 12, 60, 22);
    bird.cubicTo(50, 24, 46, 32, 40, 36);
    bird.cubicTo(34, 32, 28, 30, 20, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawPath(bird);
    p.end();
    return image;
}

QString federationName() { return QStringLiteral("Fédération Colombophile"); }

int regionNumber() {
    static const QRegularExpression digits(QStringLiteral("(\\d+)\\s*$"));
    const QString name = QFileInfo(QDir::cleanPath(session().DataFolder)).fileName();
    const auto m = digits.match(name);
    const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
    return n > 0 ? n : 1;
}

QString regionText(int region) {
    return QString::number(region) + (region == 1 ? QStringLiteral("ère") : QStringLiteral("ème")) +
           QStringLiteral(" REGION");
}

} // namespace vt
