#include "app/unitCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

TCommandLine ParseCommandLine(const QStringList& Arguments, TCommandLinePhase Phase) {
  QCommandLineParser Parser;
  // Qt's own single-dash words (-reverse) must not read as bundles of short options (-v).
  Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  Parser.setApplicationDescription(
      "The Pelbrook, the sprite editor of Tamblings (.s16 and .spr sprite files).");
  const QCommandLineOption Help({"h", "help"}, "Shows this help and exits.");
  const QCommandLineOption Version({"v", "version"}, "Shows the version and exits.");
  Parser.addOption(Help);
  Parser.addOption(Version);
  Parser.addPositionalArgument("FILE",
                               "A sprite file to open after start-up: read as .spr when its "
                               "name ends in .spr, as .s16 otherwise. Of several, the first "
                               "is opened.",
                               "[FILE...]");
  const bool Parsed = Parser.parse(Arguments);
  TCommandLine Line;
  if (Parser.isSet(Help) || Parser.isSet(Version)) {
    Line.ExitStatus = 0;
    Line.Message = Parser.isSet(Help) ? Parser.helpText().toStdString()
                                      : (QCoreApplication::applicationName() + ' ' +
                                         QCoreApplication::applicationVersion() + '\n')
                                            .toStdString();
  } else if (Phase == TCommandLinePhase::AfterWindowSystem && !Parsed) {
    Line.ExitStatus = 2;
    Line.Message = (Parser.errorText() + '\n' + Parser.helpText()).toStdString();
  } else if (Phase == TCommandLinePhase::AfterWindowSystem &&
             !Parser.positionalArguments().isEmpty()) {
    Line.FileToOpen =
        QFileInfo(Parser.positionalArguments().first()).absoluteFilePath().toStdString();
  }
  return Line;
}
