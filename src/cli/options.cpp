#include "cli/options.h"

#include <QDir>
#include <QFileInfo>

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
         "  SLOŽKA/ (končí \"/\" nebo existuje) stránka HTML se styly\n"
         "Volby:\n"
         "  --kind znamky|rozpisy|rozvrh|kalendar  druh databáze (jinak podle databáze\n"
         "                                         nebo podle začátku jména souboru)\n"
         "  --semesters all|N[,N...]  která pololetí známek uložit (výchozí všechna)\n"
         "  --semester N              pololetí zobrazené před uložením nebo exportem\n"
         "                            (výchozí poslední)\n"
         "  --two-values              import známek z CSV se dvěma hodnotami\n"
         "  --settings SOUBOR         vekla.ini s volbami zobrazení známek (HTML, Excel)\n"
         "                            a složkou zálohy kapesního počítače [PalmDesktop]\n"
         "                            (výchozí $VEKLA_HOME/vekla.ini, je-li VEKLA_HOME\n"
         "                            nastavena a soubor existuje)\n"
         "  --data SLOŽKA             složka pracovních souborů (výchozí dočasná)\n"
         "  --now \"RRRR-MM-DD hh:mm:ss\"  pevné datum a čas\n"
         "  --info SOUBOR.pdb         vypíše hlavičku databáze\n"
         "  -V, --version             verze programu\n"
         "  -h, --help                tato nápověda\n"
         "Návratový kód: 0 hotovo, 1 vstup nelze načíst nebo výstup zapsat, 2 chybné volby.\n";
}

const char* ShortUsageText() {
  return "Použití: vekla-convert [volby] VSTUP VÝSTUP\n"
         "        vekla-convert --info SOUBOR.pdb\n"
         "Nápověda: vekla-convert --help\n";
}

ConvertOptions ParseOptions(const QStringList& args) {
  ConvertOptions o;
  bool optionsEnd = false;
  for (int i = 0; i < args.size(); ++i) {
    QString arg = args[i];
    // The short forms of --help and --version.
    if (!optionsEnd && (arg == QLatin1String("-h") || arg == QLatin1String("-V"))) {
      (arg == QLatin1String("-h") ? o.help : o.version) = true;
      continue;
    }
    if (optionsEnd || !arg.startsWith(QLatin1String("--")) || arg == QLatin1String("-")) {
      o.positional << arg;
      continue;
    }
    if (arg == QLatin1String("--")) {
      optionsEnd = true;
      continue;
    }
    // "--option=value" and "--option value" both work.
    std::optional<QString> inlineValue;
    if (const int eq = arg.indexOf('='); eq > 0) {
      inlineValue = arg.mid(eq + 1);
      arg = arg.left(eq);
    }
    auto value = [&]() -> QString {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= args.size()) usage(QStringLiteral("volbě %1 chybí hodnota").arg(arg));
      return args[++i];
    };
    auto flag = [&] {
      if (inlineValue) usage(QStringLiteral("volba %1 nemá hodnotu").arg(arg));
    };

    if (arg == QLatin1String("--help")) {
      flag();
      o.help = true;
    } else if (arg == QLatin1String("--version")) {
      flag();
      o.version = true;
    } else if (arg == QLatin1String("--kind")) {
      const QString v = value();
      o.kind = KindFromOptionName(v);
      if (!o.kind) usage(QStringLiteral("neznámý druh \"%1\" (znamky, rozpisy, rozvrh, kalendar)").arg(v));
    } else if (arg == QLatin1String("--semesters")) {
      const QString v = value().trimmed();
      o.semesters.clear();
      o.allSemesters = v.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0;
      if (!o.allSemesters) {
        for (const QString& part : v.split(','))
          o.semesters.insert(positiveNumber(QStringLiteral("--semesters"), part));
      }
    } else if (arg == QLatin1String("--semester")) {
      o.semester = positiveNumber(arg, value());
    } else if (arg == QLatin1String("--two-values")) {
      flag();
      o.twoValues = true;
    } else if (arg == QLatin1String("--settings")) {
      o.settingsFile = value();
      if (o.settingsFile.isEmpty()) usage(QStringLiteral("volbě --settings chybí soubor"));
    } else if (arg == QLatin1String("--data")) {
      o.dataDir = value();
      if (o.dataDir.isEmpty()) usage(QStringLiteral("volbě --data chybí složka"));
      if (!o.dataDir.endsWith('/')) o.dataDir += '/';
    } else if (arg == QLatin1String("--now")) {
      const QString v = value();
      o.now = QDateTime::fromString(v.trimmed(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
      if (!o.now.isValid()) usage(QStringLiteral("--now čeká \"RRRR-MM-DD hh:mm:ss\", ne \"%1\"").arg(v));
    } else if (arg == QLatin1String("--info")) {
      o.infoFile = value();
      if (o.infoFile.isEmpty()) usage(QStringLiteral("volbě --info chybí soubor"));
    } else {
      usage(QStringLiteral("neznámá volba %1").arg(arg));
    }
  }
  return o;
}

}  // namespace vekla::cli
