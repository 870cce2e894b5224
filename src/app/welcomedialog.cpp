#include "app/welcomedialog.h"

#include "app/aboutdialog.h"

#include <QCheckBox>
#include <QCommandLinkButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace vekla {

WelcomeDialog::WelcomeDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("WelcomeDialog");
  setWindowTitle(QStringLiteral("Vítejte ve Vekle"));
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(10);

  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramPicture(72));
  icon->setAlignment(Qt::AlignTop);
  top->addWidget(icon);
  auto* text = new QLabel(this);
  text->setObjectName("WelcomeText");
  text->setWordWrap(true);
  text->setTextFormat(Qt::RichText);
  text->setText(QStringLiteral(
      "<h2>Vítejte ve Vekle</h2>"
      "<p>Vekla otevírá známky, rozpisy učiva, rozvrh a kalendář z kapesního počítače s Palm OS, ukazuje je "
      "v tabulce k úpravám, kontroluje je a ukládá zpět tak, aby je handheld přijal. Umí je také převést "
      "do CSV, na webové stránky, do sešitu Excel a do databáze MySQL.</p>"
      "<p>Jak chcete začít?</p>"));
  top->addWidget(text, 1);
  layout->addLayout(top);

  auto button = [this, layout](const char* name, const QString& title, const QString& description,
                               WelcomeChoice c) {
    auto* b = new QCommandLinkButton(title, description, this);
    b->setObjectName(name);
    // The choice Enter takes is framed, also in styles that draw no focus
    // on these buttons.
    b->setStyleSheet(QStringLiteral("QCommandLinkButton:focus { border: 2px solid palette(highlight); border-radius: 4px; }"));
    connect(b, &QCommandLinkButton::clicked, this, [this, c] { choose(c); });
    layout->addWidget(b);
    return b;
  };
  button("WelcomeFindFolder", QStringLiteral("Najít složku zálohy z handheldu…"),
         QStringLiteral("Složka, do které synchronizace (HotSync nebo J-Pilot) ukládá databáze z handheldu. "
                        "Vekla ji zkontroluje a zapamatuje si ji."),
         WelcomeChoice::FindFolder)
      ->setFocus();
  button("WelcomeSample", QStringLiteral("Otevřít ukázkovou třídu"),
         QStringLiteral("Třída 7.A s dvanácti žáky a jejich známkami, na vyzkoušení. Originál ukázky se nezmění."),
         WelcomeChoice::Sample);
  button("WelcomeEmpty", QStringLiteral("Začít s prázdnou knihou"),
         QStringLiteral("Složku zálohy lze nastavit později v nabídce Nastavení → Složky…"), WelcomeChoice::EmptyBook);

  showAgain_ = new QCheckBox(QStringLiteral("Zobrazovat tuto nabídku při spuštění, dokud nebude vybrána složka zálohy"), this);
  showAgain_->setObjectName("WelcomeShowAgain");
  showAgain_->setChecked(true);
  layout->addWidget(showAgain_);
  setMinimumWidth(560);
}

void WelcomeDialog::choose(WelcomeChoice c) {
  choice_ = c;
  accept();
}

WelcomeAnswer WelcomeDialog::answer() const { return {result() == Accepted ? choice_ : WelcomeChoice::EmptyBook,
                                                      showAgain_->isChecked()}; }

}  // namespace vekla
