// Start-up helpers kept apart from main() so that tests can check the rules
// without starting the program.
#pragma once

#include <QString>

class ConfigStore;
class QTranslator;

// config.cfg unless the command line names another file: -c, then -config
// (exact, case-sensitive keys; -config wins when both are given).
QString chooseConfigFile(const ConfigStore &store);

// Start directory of file dialogs: the home directory, replaced by ROOT_DIR
// from the configuration, replaced by -root from the command line.
QString rootDirFor(const ConfigStore &store);

// Name of the compiled-in Japanese catalogue.
inline constexpr const char *kCatalogue = ":Skedra_ja_JP";

// Qt's own Japanese texts (file dialogs, message-box buttons) from the
// system's Qt translations, installed into the application. They come from an
// optional package, so a missing catalogue only returns false.
bool installQtCatalogue(QTranslator &translator);
