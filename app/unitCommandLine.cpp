#include "app/unitCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <filesystem>

TCommandLine ParseCommandLine(const std::vector<std::string>& Arguments, TCommandLinePhase Phase) {
  QStringList Words;
  for (const std::string& Argument : Arguments) Words << QFile::decodeName(Argument.c_str());
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
  const bool Parsed = Parser.parse(Words);
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
    // Decoding loses bytes that are not valid in it: the name is the argument it came from.
    const QString First = Parser.positionalArguments().first();
    const auto Named = std::find_if(
        Arguments.begin() + 1, Arguments.end(),
        [&](const std::string& Argument) { return QFile::decodeName(Argument.c_str()) == First; });
    const std::string Name =
        Named == Arguments.end() ? QFile::encodeName(First).toStdString() : *Named;
    Line.FileToOpen = std::filesystem::absolute(Name).lexically_normal().string();
  }
  return Line;
}
