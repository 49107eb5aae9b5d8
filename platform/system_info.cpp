#include "platform/system_info.h"

#include "common/record_file.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

namespace vt {

namespace {

QString& settingsFileForTests() {
    static QString file;
    return file;
}

// The registry's text values come back through a buffer of 1024 bytes: a longer one is
// not read, and a final NUL is dropped.
constexpr int ValueBufferBytes = 1024;

bool startProgram(const QString& program) {
    if (program.trimmed().isEmpty())
        return false;
    return QProcess::startDetached(program, {});
}

} // namespace

void setLocalMachineSettingsFile(const QString& iniFile) { settingsFileForTests() = iniFile; }

QString systemInformationUnavailableText() {
    return QStringLiteral("Les informations système ne sont pas disponibles actuellement");
}

QString GetKeyValue(const QString& keyName, const QString& valueName) {
    QString key = keyName;
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    std::unique_ptr<QSettings> settings;
    if (!settingsFileForTests().isEmpty()) {
        settings = std::make_unique<QSettings>(settingsFileForTests(), QSettings::IniFormat);
    } else {
#ifdef Q_OS_WIN
        settings = std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\") + keyName,
                                               QSettings::NativeFormat);
        key.clear();
#else
        settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::SystemScope,
                                               QStringLiteral("Vorel"),
                                               QStringLiteral("HKEY_LOCAL_MACHINE"));
#endif
    }
    const QString path = key.isEmpty() ? valueName : key + QLatin1Char('/') + valueName;
    const QVariant value = settings->value(path);
    if (!value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString: {
        QByteArray bytes = value.toString().toLocal8Bit();
        if (bytes.size() > ValueBufferBytes)
            return QString();
        if (bytes.endsWith('\0'))
            bytes.chop(1);
        return QString::fromLocal8Bit(bytes);
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QString::number(value.toLongLong());
    default:
        // Other kinds of values are not read.
        return QString();
    }
}

bool startSystemInformation() {
    const QString path =
        GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"));
    if (!path.isEmpty())
        return startProgram(path);
    const QString folder =
        GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"));
    if (folder.isEmpty())
        return false;
    const QString program = resolveFile(folder, QStringLiteral("MSINFO32.EXE"));
    if (!QFileInfo(program).isFile())
        return false;
    return startProgram(program);
}

void StartSysInfo(Dialogs& d) {
    if (!startSystemInformation())
        d.inform(systemInformationUnavailableText(), QString(), MsgIcon::None);
}

} // namespace vt
