// The viewer's two settings stores: the machine store ORVELLE.ini (page-text language, base
// font, background colour) and the per-user profile Orvelle.ini (interface language, service
// address, recent files), both INI files under the configuration folder's "Morla".
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace viewer {

/// The folder of both stores: $XDG_CONFIG_HOME/Morla (~/.config/Morla).
QString settingsFolder();

class MachineSettings {
  public:
    explicit MachineSettings(QString file = settingsFolder() + "/ORVELLE.ini");
    /// A text value; empty when missing or stored as a number.
    QString readText(const QString& name) const;
    /// The background colour 0x00BBGGRR; white when missing or not a number.
    uint32_t readColour() const;
    /// Stores a value: true when stored. When the store does not exist yet it is created
    /// and nothing is stored (the next write succeeds).
    bool writeText(const QString& name, const QString& text) const;
    bool writeColour(uint32_t colour) const;
    /// Why the store cannot be written (the system's words), after creating it when it was
    /// missing; none when it can.
    std::optional<QString> writeProblem() const;

  private:
    bool ensureExists() const;
    QString file_;
};

/// The knowledge service's address until the user sets another.
inline constexpr const char* kDefaultServerAddress = "http://keln.example.org/kns/";

class ProfileSettings {
  public:
    explicit ProfileSettings(QString file = settingsFolder() + "/Orvelle.ini");
    QString interfaceLanguage() const;
    void setInterfaceLanguage(const QString& language) const;
    /// The base address of the knowledge service; kDefaultServerAddress when none is stored.
    QString serverAddress() const;
    void setServerAddress(const QString& address) const;
    /// How the knowledge query sends its term: "utf8", or the page text's code page (empty).
    QString serverEncoding() const;
    /// The four most recently opened files, the newest first.
    QStringList recentFiles() const;
    void addRecentFile(const QString& path) const;

  private:
    QString file_;
};

/// How page text is shown after start-up, from the machine store's "LANGUAGE" and "FONT" and
/// the system language id.
struct DisplayChoice {
    int codePage = 936;
    bool simplified = true;
    QString baseFont;  ///< empty: the engine's own faces
};
DisplayChoice chooseDisplay(const QString& language, const QString& font,
                            uint16_t systemLanguageId);

enum class InterfaceLanguage { BuiltIn, Big5, English };
/// The interface language from the profile's "LANGUAGE" entry and the system's code page.
InterfaceLanguage chooseInterfaceLanguage(const QString& profileEntry, int ansiCodePage);

/// The language id of a locale name: 0x0404, 0x0C04, 0x1404 for Chinese of Taiwan, Hong Kong,
/// Macao, 0x0804 for the mainland and Singapore, 0x0409 otherwise.
uint16_t languageIdOfLocale(const QString& locale);

}  // namespace viewer
