// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up helpers kept apart from main() so that tests can check the rules
// without starting the program.
#pragma once

#include <QString>

class ConfigStore;
class QLocale;
class QTranslator;

// config.cfg unless the command line names another file: -c, then -config
// (exact, case-sensitive keys; -config wins when both are given).
QString chooseConfigFile(const ConfigStore &store);

// Start directory of file dialogs: the home directory, replaced by ROOT_DIR
// from the configuration, replaced by -root from the command line.
QString rootDirFor(const ConfigStore &store);

// Names of the compiled-in catalogues. The source texts stay as they are,
// abbreviations and all (scripts read the logs they end up in); the English
// catalogue gives the window English that reads right.
inline constexpr const char *kCatalogue = ":Skedra_ja_JP";
inline constexpr const char *kEnglishCatalogue = ":Skedra_en";

// The catalogue the window speaks: English for -e and for an English locale,
// Japanese otherwise (the beamline's operators read Japanese by default).
const char *catalogueFor(const ConfigStore &store, const QLocale &locale);

// Qt's own Japanese texts (file dialogs, message-box buttons) from the
// system's Qt translations, installed into the application. They come from an
// optional package, so a missing catalogue only returns false.
bool installQtCatalogue(QTranslator &translator);
