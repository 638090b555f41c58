#include "settings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace viewer {

namespace {

constexpr int kRecentFiles = 4;
const char* const kSystemFont = "SimSun";

}  // namespace

QString settingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Morla";
}

MachineSettings::MachineSettings(QString file) : file_(std::move(file)) {}

QString MachineSettings::readText(const QString& name) const {
    const QVariant value = QSettings(file_, QSettings::IniFormat).value(name);
    bool isNumber = false;
    value.toString().toLongLong(&isNumber);
    return value.isValid() && !isNumber ? value.toString() : QString();
}

uint32_t MachineSettings::readColour() const {
    const QVariant value = QSettings(file_, QSettings::IniFormat).value("COLOR");
    bool isNumber = false;
    const qlonglong colour = value.toString().toLongLong(&isNumber);
    return isNumber && colour >= 0 && colour <= 0xFFFFFFFF ? uint32_t(colour) : 0xFFFFFF;
}

bool MachineSettings::ensureExists() const {
    if (QFile::exists(file_)) {
        return true;
    }
    QDir().mkpath(QFileInfo(file_).absolutePath());
    QFile(file_).open(QIODevice::WriteOnly);
    return false;
}

std::optional<QString> MachineSettings::writeProblem() const {
    QDir().mkpath(QFileInfo(file_).absolutePath());
    QFile file(file_);
    if (!file.open(QIODevice::ReadWrite)) {
        return file.errorString();
    }
    return std::nullopt;
}

bool MachineSettings::writeText(const QString& name, const QString& text) const {
    if (!ensureExists()) {
        return false;
    }
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(name, text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool MachineSettings::writeColour(uint32_t colour) const {
    if (!ensureExists()) {
        return false;
    }
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue("COLOR", qlonglong(colour));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

ProfileSettings::ProfileSettings(QString file) : file_(std::move(file)) {}

QString ProfileSettings::interfaceLanguage() const {
    return QSettings(file_, QSettings::IniFormat).value("LANGUAGE/LANGUAGE").toString();
}

void ProfileSettings::setInterfaceLanguage(const QString& language) const {
    QSettings(file_, QSettings::IniFormat).setValue("LANGUAGE/LANGUAGE", language);
}

QString ProfileSettings::serverAddress() const {
    return QSettings(file_, QSettings::IniFormat)
        .value("SvrAddress/url", QString::fromLatin1(kDefaultServerAddress))
        .toString();
}

void ProfileSettings::setServerAddress(const QString& address) const {
    QSettings(file_, QSettings::IniFormat).setValue("SvrAddress/url", address);
}

QString ProfileSettings::serverEncoding() const {
    return QSettings(file_, QSettings::IniFormat).value("SvrAddress/encoding").toString();
}

QStringList ProfileSettings::recentFiles() const {
    return QSettings(file_, QSettings::IniFormat).value("Recent File List/files").toStringList();
}

void ProfileSettings::addRecentFile(const QString& path) const {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    QSettings(file_, QSettings::IniFormat)
        .setValue("Recent File List/files", files.mid(0, kRecentFiles));
}

DisplayChoice chooseDisplay(const QString& language, const QString& font,
                            uint16_t systemLanguageId) {
    DisplayChoice choice;
    choice.baseFont = font;
    if (language.compare("GB", Qt::CaseInsensitive) == 0) {
        return choice;
    }
    if (language.compare("BIG5", Qt::CaseInsensitive) == 0) {
        choice.codePage = 950;
        choice.simplified = false;
        return choice;
    }
    if (systemLanguageId == 0x0404 || systemLanguageId == 0x0C04 || systemLanguageId == 0x1404) {
        choice.codePage = 950;
        choice.simplified = false;
    } else if (font.isEmpty()) {
        choice.baseFont = kSystemFont;
    }
    return choice;
}

InterfaceLanguage chooseInterfaceLanguage(const QString& profileEntry, int ansiCodePage) {
    if (profileEntry.isEmpty()) {
        return ansiCodePage == 936   ? InterfaceLanguage::BuiltIn
               : ansiCodePage == 950 ? InterfaceLanguage::Big5
                                     : InterfaceLanguage::English;
    }
    if (profileEntry == "BIG5") {
        return InterfaceLanguage::Big5;
    }
    return profileEntry == "ENGLISH" ? InterfaceLanguage::English : InterfaceLanguage::BuiltIn;
}

uint16_t languageIdOfLocale(const QString& locale) {
    const QString name = locale.toLower();
    if (name.startsWith("zh_tw"))
        return 0x0404;
    if (name.startsWith("zh_hk"))
        return 0x0C04;
    if (name.startsWith("zh_mo"))
        return 0x1404;
    if (name.startsWith("zh_cn") || name.startsWith("zh_sg"))
        return 0x0804;
    return 0x0409;
}

}  // namespace viewer
