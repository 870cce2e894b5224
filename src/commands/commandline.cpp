#include "commands/commandline.h"

namespace vekla {

namespace {

// The option as typed ("-bogus", "--bogus"), for a name the parser reports.
QString typedOption(const QStringList& args, const QString& name) {
  for (qsizetype i = 1; i < args.size() && args[i] != QLatin1String("--"); ++i) {
    for (const QLatin1String dashes : {QLatin1String("--"), QLatin1String("-")}) {
      const QString option = dashes + name;
      if (args[i] == option || args[i].startsWith(option + '=')) return option;
    }
  }
  return QStringLiteral("--") + name;
}

}  // namespace

QString CommandLineError(const QCommandLineParser& parser, const QStringList& args) {
  if (!parser.unknownOptionNames().isEmpty())
    return QStringLiteral("neznámá volba %1").arg(typedOption(args, parser.unknownOptionNames().first()));
  // The parser names the option in quotes. Its value is missing only when
  // it is the last word; otherwise a value was given to an option that
  // takes none ("--help=yes").
  const QString text = parser.errorText();
  const qsizetype open = text.indexOf('\''), close = text.lastIndexOf('\'');
  if (open < 0 || close <= open) return text;
  const QString option = text.mid(open + 1, close - open - 1);
  if (args.size() > 1 && args.last() == option) return QStringLiteral("volbě %1 chybí hodnota").arg(option);
  return QStringLiteral("volba %1 nemá hodnotu").arg(option);
}

WindowOptions ParseWindowOptions(const QStringList& args) {
  QCommandLineParser parser;
  // "-platform offscreen" and "-style=fusion" are the toolkit's own: a word
  // after one dash is a whole option name, as the toolkit reads it.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
  const QCommandLineOption version({QStringLiteral("V"), QStringLiteral("version")}, {});
  parser.addOption(help);
  parser.addOption(version);
  // The toolkit's options, which QApplication takes out of the command line.
  for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
                           "qwindowtitle", "title", "qwindowicon", "icon", "display", "name", "session", "style",
                           "stylesheet", "visual", "qmljsdebugger"}) {
    QCommandLineOption o(QString::fromLatin1(name), {}, QStringLiteral("x"));
    o.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(o);
  }
  for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"}) {
    QCommandLineOption o(QString::fromLatin1(name), {});
    o.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(o);
  }
  WindowOptions o;
  if (!parser.parse(args)) {
    o.error = CommandLineError(parser, args);
    return o;
  }
  o.help = parser.isSet(help);
  o.version = parser.isSet(version);
  o.files = parser.positionalArguments();
  return o;
}

const char* WindowUsageText() {
  return "Použití: vekla [SOUBOR...]\n"
         "Otevře okno programu Vekla. Databáze .pdb zadaná jako SOUBOR se otevře na své\n"
         "záložce, soubor .csv se načte do zobrazené záložky, jako po přetažení na okno.\n"
         "Běží-li už okno Vekla se stejnou složkou, předá mu SOUBORY, to se objeví\n"
         "v popředí a otevře je; druhé okno se nespustí.\n"
         "Volby:\n"
         "  -V, --version  verze programu\n"
         "  -h, --help     tato nápověda\n"
         "Platí i volby sady Qt, například -platform nebo -style.\n"
         "Nastavení (vekla.ini) a pracovní soubory (data/) jsou ve složce VEKLA_HOME,\n"
         "je-li nastavena; jinak ve složce programu, obsahuje-li soubor vekla.ini nebo\n"
         "vekla-portable (přenosná instalace); jinak ve složce ~/.local/share/Vekla.\n"
         "Exporty (html/, excel/) jdou do složky Vekla mezi dokumenty, s VEKLA_HOME\n"
         "a v přenosné instalaci vedle vekla.ini.\n"
         "Převod souborů bez okna: vekla-convert --help\n"
         "Návratový kód: 0 hotovo, 1 složku používá jiný program, 2 chybné volby.\n";
}

}  // namespace vekla
