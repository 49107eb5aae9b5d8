#pragma once
// Every record type of the data files, with its exact byte layout.
#include "record.h"

namespace vt {

// societe.nom record 1, and its backup socres.
class ClubRecord : public FixedRecord<140> {
public:
    using FixedRecord::FixedRecord;
    QString clubName() const { return text(0, 23); }
    void setClubName(const QString& v) { setText(0, 23, v); }
    int16_t groupNumber() const { return int16(23); }
    void setGroupNumber(int16_t v) { setInt16(23, v); }
    QString clubCode() const { return text(25, 5); }
    void setClubCode(const QString& v) { setText(25, 5, v); }
    QString correspondent() const { return text(30, 25); }
    void setCorrespondent(const QString& v) { setText(30, 25, v); }
    QString addressLine() const { return text(55, 25); }
    void setAddressLine(const QString& v) { setText(55, 25, v); }
    QString addressComplement() const { return text(80, 25); }
    void setAddressComplement(const QString& v) { setText(80, 25, v); }
    QString postCode() const { return text(105, 5); }
    void setPostCode(const QString& v) { setText(105, 5, v); }
    QString town() const { return text(110, 30); }
    void setTown(const QString& v) { setText(110, 30, v); }
};

// noms.vba (master and season copy) and noms.vbar.
class FancierRecord : public FixedRecord<3197> {
public:
    using FixedRecord::FixedRecord;
    static constexpr int RaceAmountsOffset = 597;
    static constexpr int MaxRaceCode = 649;

    QString fancierName() const { return text(0, 23); }
    void setFancierName(const QString& v) { setText(0, 23, v); }
    QString licenceNumber() const { return text(23, 7); }
    void setLicenceNumber(const QString& v) { setText(23, 7, v); }
    QString addressLine() const { return text(30, 30); }
    void setAddressLine(const QString& v) { setText(30, 30, v); }
    QString addressComplement() const { return text(60, 20); }
    void setAddressComplement(const QString& v) { setText(60, 20, v); }
    QString postCode() const { return text(80, 7); }
    void setPostCode(const QString& v) { setText(80, 7, v); }
    QString town() const { return text(87, 28); }
    void setTown(const QString& v) { setText(87, 28, v); }
    QString telephone() const { return text(115, 17); }
    void setTelephone(const QString& v) { setText(115, 17, v); }
    double longitudeEastDms() const { return dbl(132); }
    void setLongitudeEastDms(double v) { setDouble(132, v); }
    double longitudeWestDms() const { return dbl(140); }
    void setLongitudeWestDms(double v) { setDouble(140, v); }
    QString clubNumber() const { return text(148, 4); }
    void setClubNumber(const QString& v) { setText(148, 4, v); }
    QString lastSaveYear() const { return text(152, 5); }
    void setLastSaveYear(const QString& v) { setText(152, 5, v); }
    int16_t clubGroupNumber() const { return int16(157); }
    void setClubGroupNumber(int16_t v) { setInt16(157, v); }
    QString clubNamePrefix() const { return text(159, 4); }
    void setClubNamePrefix(const QString& v) { setText(159, 4, v); }
    int16_t pigeonCount() const { return int16(163); }
    void setPigeonCount(int16_t v) { setInt16(163, v); }
    int16_t statusFlag() const { return int16(165); }
    void setStatusFlag(int16_t v) { setInt16(165, v); }
    QString clubCode() const { return text(581, 8); }
    void setClubCode(const QString& v) { setText(581, 8, v); }
    double latitudeDms() const { return dbl(589); }
    void setLatitudeDms(double v) { setDouble(589, v); }
    // Thousandths of the currency unit owed for the race of that RaceCode (0 to 649).
    int32_t raceAmount(int raceCode) const {
        checkIndex(raceCode, 0, MaxRaceCode, "raceAmounts");
        return int32(RaceAmountsOffset + 4 * raceCode);
    }
    void setRaceAmount(int raceCode, int32_t v) {
        checkIndex(raceCode, 0, MaxRaceCode, "raceAmounts");
        setInt32(RaceAmountsOffset + 4 * raceCode, v);
    }
};

// distgen and distloc.
class ReleaseSiteRecord : public FixedRecord<49> {
public:
    using FixedRecord::FixedRecord;
    QString siteName() const { return text(0, 25); }
    void setSiteName(const QString& v) { setText(0, 25, v); }
    double latitudeDms() const { return dbl(25); }
    void setLatitudeDms(double v) { setDouble(25, v); }
    double longitudeEastDms() const { return dbl(33); }
    void setLongitudeEastDms(double v) { setDouble(33, v); }
    double longitudeWestDms() const { return dbl(41); }
    void setLongitudeWestDms(double v) { setDouble(41, v); }
};

// <calendar>.cal, record n = race n.
class CalendarRaceRecord : public FixedRecord<51> {
public:
    using FixedRecord::FixedRecord;
    QString siteName() const { return text(0, 15); }
    void setSiteName(const QString& v) { setText(0, 15, v); }
    QString raceDate() const { return text(15, 8); } // "dd/mm/yy"
    void setRaceDate(const QString& v) { setText(15, 8, v); }
    int16_t categoryIndex() const { return int16(23); }
    void setCategoryIndex(int16_t v) { setInt16(23, v); }
    // byte 25 is reserved and keeps what it holds
    double latitudeDms() const { return dbl(26); }
    void setLatitudeDms(double v) { setDouble(26, v); }
    double longitudeEastDms() const { return dbl(34); }
    void setLongitudeEastDms(double v) { setDouble(34, v); }
    double longitudeWestDms() const { return dbl(42); }
    void setLongitudeWestDms(double v) { setDouble(42, v); }
    QString categoryLetter() const { return text(50, 1); }
    void setCategoryLetter(const QString& v) { setText(50, 1, v); }
};

// bases.<code>, record 1.
class RaceBaseRecord : public FixedRecord<127> {
public:
    using FixedRecord::FixedRecord;
    QString siteName() const { return text(0, 15); }
    void setSiteName(const QString& v) { setText(0, 15, v); }
    QString categoryDigit() const { return text(15, 1); }
    void setCategoryDigit(const QString& v) { setText(15, 1, v); }
    QString calendarDateLong() const { return text(16, 17); } // "dd mmmm yyyy"
    void setCalendarDateLong(const QString& v) { setText(16, 17, v); }
    double latitudeDms() const { return dbl(33); }
    void setLatitudeDms(double v) { setDouble(33, v); }
    double longitudeEastDms() const { return dbl(41); }
    void setLongitudeEastDms(double v) { setDouble(41, v); }
    double longitudeWestDms() const { return dbl(49); }
    void setLongitudeWestDms(double v) { setDouble(49, v); }
    // bytes 57 to 70 are reserved
    float levelIndex() const { return single(71); }
    void setLevelIndex(float v) { setSingle(71, v); }
    int16_t stakeSetTable(int i) const {
        checkIndex(i, 0, 12, "stakeSetTable");
        return int16(75 + 2 * i);
    }
    void setStakeSetTable(int i, int16_t v) {
        checkIndex(i, 0, 12, "stakeSetTable");
        setInt16(75 + 2 * i, v);
    }
    // The stake sheet chosen for the race (element 1 of stakeSetTable).
    int16_t stakeSheet() const { return stakeSetTable(1); }
    void setStakeSheet(int16_t v) { setStakeSetTable(1, v); }
    // bytes 101 to 126 are a reserved Integer(0 To 12)
};

// fichenl.jeu: record k + 1 names stake-sheet slot k.
class SheetNameRecord : public FixedRecord<50> {
public:
    using FixedRecord::FixedRecord;
    QString sheetName() const { return text(0, 50); }
    void setSheetName(const QString& v) { setText(0, 50, v); }
};

// cptenl.jeu, gr<n>.jeu, basejeu.<code>: one line of a stake sheet.
class StakeTypeRecord : public FixedRecord<19> {
public:
    using FixedRecord::FixedRecord;
    QString stakeLabel() const { return text(0, 8); }
    void setStakeLabel(const QString& v) { setText(0, 8, v); }
    QString stakeCode() const { return text(8, 5); }
    void setStakeCode(const QString& v) { setText(8, 5, v); }
    int16_t count() const { return int16(13); }
    void setCount(int16_t v) { setInt16(13, v); }
    float unitValue() const { return single(15); }
    void setUnitValue(float v) { setSingle(15, v); }
};

// mise.<code>, record f = fancier f: element 0 pigeons entered, element k stakes on line k.
class StakeAmountBlock : public FixedRecord<404> {
public:
    using FixedRecord::FixedRecord;
    static constexpr int MaxLine = 100;
    float stakeCount(int k) const {
        checkIndex(k, 0, MaxLine, "stakeCounts");
        return single(4 * k);
    }
    void setStakeCount(int k, float v) {
        checkIndex(k, 0, MaxLine, "stakeCounts");
        setSingle(4 * k, v);
    }
    float pigeonsEntered() const { return stakeCount(0); }
};

// recap.<code> record 1 and its companion: fanciers counted, then Integer(0 To 100) totals.
class RaceRecapRecord : public FixedRecord<204> {
public:
    using FixedRecord::FixedRecord;
    int16_t fancierCount() const { return int16(0); }
    void setFancierCount(int16_t v) { setInt16(0, v); }
    int16_t total(int j) const {
        checkIndex(j, 0, 100, "recap totals");
        return int16(2 + 2 * j);
    }
    void setTotal(int j, int16_t v) {
        checkIndex(j, 0, 100, "recap totals");
        setInt16(2 + 2 * j, v);
    }
};

} // namespace vt
