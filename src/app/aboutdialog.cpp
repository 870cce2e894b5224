#include "app/aboutdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "commands/about.h"

// The resources live in a static library: they are registered by hand.
static void InitProgramResources() { Q_INIT_RESOURCE(resources); }

namespace vekla {

QPixmap ProgramPicture(int size) {
  static const bool registered = (InitProgramResources(), true);
  (void)registered;
  return QPixmap(QStringLiteral(":/vekla-128.png")).scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutDialog");
  setWindowTitle(QStringLiteral("O programu"));
  QStringList libraries;
  for (const LibraryVersion& l : UsedLibraries())
    libraries << (QString::fromStdString(l.name) +
                  (l.version.empty() ? QString() : ' ' + QString::fromStdString(l.version)))
                     .toHtmlEscaped();
  html_ = QStringLiteral(
              "<h2>Vekla</h2><p>Verze %1</p>"
              "<p>Otevírá, upravuje, kontroluje a ukládá databáze Známky, Rozpisy, Rozvrh a Kalendář kapesního "
              "počítače s Palm OS a převádí je do CSV, HTML, sešitů Excel a skriptů SQL.</p>"
              "<p><b>Licence:</b> %2. Vekla je svobodný software: smíte ji šířit a upravovat za podmínek "
              "GNU General Public License, verze 3 nebo (podle své volby) kterékoli pozdější. Je šířena "
              "v naději, že bude užitečná, ale BEZ JAKÉKOLI ZÁRUKY.</p>"
              "<p><b>Knihovny:</b> %3</p>")
              .arg(QStringLiteral(VEKLA_VERSION), QString::fromLatin1(kLicence), libraries.join(QStringLiteral(", ")));

  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramPicture(64));
  icon->setAlignment(Qt::AlignTop);
  top->addWidget(icon);
  auto* text = new QLabel(html_, this);
  text->setObjectName("AboutText");
  text->setTextFormat(Qt::RichText);
  text->setWordWrap(true);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  top->addWidget(text, 1);
  layout->addLayout(top);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Zavřít"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(520);
}

QString AboutDialog::plainText() const {
  QTextDocument doc;
  doc.setHtml(html_);
  return doc.toPlainText();
}

}  // namespace vekla
