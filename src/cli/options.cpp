#include "cli/options.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include "commands/commandline.h"
#include "workspace/kindparams.h"

namespace vekla::cli {
namespace {

[[noreturn]] void usage(const QString& text) { throw UsageError(text.toStdString()); }

int positiveNumber(const QString& option, const QString& text) {
  bool ok = false;
  const int n = text.trimmed().toInt(&ok);
  if (!ok || n < 1) usage(QStringLiteral("%1 čeká kladné číslo, ne \"%2\"").arg(option, text));
  return n;
}

}  // namespace

QString SettingsFile(const ConvertOptions& o) {
  if (!o.settingsFile.isEmpty()) return o.settingsFile;
  const QString home = qEnvironmentVariable("VEKLA_HOME");
  if (home.isEmpty()) return {};
  const QString file = QDir(home).filePath(QStringLiteral("vekla.ini"));
  return QFileInfo(file).isFile() ? file : QString();
}

const char* UsageText() {
  return "Použití: vekla-convert [volby] VSTUP VÝSTUP\n"
         "        vekla-convert --info SOUBOR.pdb\n"
         "VSTUP je databáze .pdb nebo soubor .csv. VÝSTUP podle konce jména:\n"
         "  .pdb   databáze\n"
         "  .csv   soubor CSV (známky: dva soubory, druhý končí \"hodnoty.csv\")\n"
         "  .sql   skript pro MySQL a MariaDB\n"
         "  .xlsx  sešit Excel\n"
         "  .pdf   tisk: stránky A4 (známky, rozpisy, rozvrh, kalendář)\n"
         "  SLOŽKA/ (končí \"/\" nebo existuje) stránka HTML se styly\n"
         "Volby:\n"
         "  --kind znamky|rozpisy|rozvrh|kalendar  druh databáze (jinak podle databáze\n"
         "                                         nebo podle začátku jména souboru)\n"
         "  --semesters all|N[,N...]  která pololetí známek uložit (výchozí všechna)\n"
         "  --semester N              pololetí zobrazené před uložením nebo exportem\n"
         "                            (výchozí poslední)\n"
         "  --two-values              import známek z CSV se dvěma hodnotami\n"
         "  --report                  výpis pro rodiče: stránka PDF pro každého studenta\n"
         "                            (jen známky, výstup .pdf)\n"
         "  --settings SOUBOR         vekla.ini s volbami zobrazení známek (HTML, Excel)\n"
         "                            a složkou zálohy kapesního počítače [PalmDesktop]\n"
         "                            (výchozí $VEKLA_HOME/vekla.ini, je-li VEKLA_HOME\n"
         "                            nastavena a soubor existuje)\n"
         "  --data SLOŽKA             složka pracovních souborů (výchozí dočasná); složku,\n"
         "                            kterou používá otevřené okno Vekla, převod odmítne\n"
         "  --now \"RRRR-MM-DD hh:mm:ss\"  pevné datum a čas\n"
         "  --info SOUBOR.pdb         vypíše hlavičku databáze\n"
         "  -V, --version             verze programu\n"
         "  -h, --help                tato nápověda\n"
         "Návratový kód: 0 hotovo, 1 vstup nelze načíst, výstup zapsat nebo složku --data\n"
         "použít, 2 chybné volby.\n";
}

ConvertOptions ParseOptions(const QStringList& args) {
  QCommandLineParser parser;
  // As the window reads its command line: a word after one dash is a whole
  // option name.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
  const QCommandLineOption version({QStringLiteral("V"), QStringLiteral("version")}, {});
  const QCommandLineOption twoValues(QStringLiteral("two-values"), {});
  const QCommandLineOption report(QStringLiteral("report"), {});
  auto valued = [](const char* name) { return QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("x")); };
  const QCommandLineOption kind = valued("kind"), semesters = valued("semesters"), semester = valued("semester"),
                           settings = valued("settings"), data = valued("data"), now = valued("now"),
                           info = valued("info");
  parser.addOptions({help, version, twoValues, report, kind, semesters, semester, settings, data, now, info});
  const QStringList all = QStringList(QStringLiteral("vekla-convert")) + args;
  if (!parser.parse(all)) usage(CommandLineError(parser, all));

  // Every value given is checked; the last one counts.
  ConvertOptions o;
  o.help = parser.isSet(help);
  o.version = parser.isSet(version);
  o.twoValues = parser.isSet(twoValues);
  o.report = parser.isSet(report);
  for (const QString& v : parser.values(kind)) {
    o.kind = KindFromOptionName(v);
    if (!o.kind) usage(QStringLiteral("neznámý druh \"%1\" (znamky, rozpisy, rozvrh, kalendar)").arg(v));
  }
  for (const QString& value : parser.values(semesters)) {
    const QString v = value.trimmed();
    o.semesters.clear();
    o.allSemesters = v.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0;
    if (!o.allSemesters) {
      for (const QString& part : v.split(',')) o.semesters.insert(positiveNumber(QStringLiteral("--semesters"), part));
    }
  }
  for (const QString& v : parser.values(semester)) o.semester = positiveNumber(QStringLiteral("--semester"), v);
  auto path = [&](const QCommandLineOption& option, const char* missing) {
    QString last;
    for (const QString& v : parser.values(option)) {
      if (v.isEmpty()) usage(QString::fromUtf8(missing));
      last = v;
    }
    return last;
  };
  o.settingsFile = path(settings, "volbě --settings chybí soubor");
  o.dataDir = path(data, "volbě --data chybí složka");
  if (!o.dataDir.isEmpty() && !o.dataDir.endsWith('/')) o.dataDir += '/';
  o.infoFile = path(info, "volbě --info chybí soubor");
  for (const QString& v : parser.values(now)) {
    o.now = QDateTime::fromString(v.trimmed(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!o.now.isValid()) usage(QStringLiteral("--now čeká \"RRRR-MM-DD hh:mm:ss\", ne \"%1\"").arg(v));
  }
  o.positional = parser.positionalArguments();
  return o;
}

}  // namespace vekla::cli
