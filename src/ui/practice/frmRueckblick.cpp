#include "frmRueckblick.h"

#include "Bilder.h"
#include "Katalog.h"
#include "Twips.h"

#include <QDateTime>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace {

enum Rolle { Frage = Qt::UserRole, Gewaehlt, Richtig, Urteil };

const QColor kRot(255, 0, 0);
const QColor kGruen(0, 128, 0);
constexpr int kRand = 6;
constexpr int kBild = 45;

// One question of the run: the smiling or frowning face of the quiz window at the left, the
// question in bold, the answer chosen in red or green, and after a wrong one the right answer.
class Zeile : public QStyledItemDelegate {
public:
    explicit Zeile(QListWidget* liste) : QStyledItemDelegate(liste), m_liste(liste) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        int hoehe = kRand;
        for (const auto& [text, schrift] : teile(index))
            hoehe += QFontMetrics(schrift).boundingRect(textfeld(0), Qt::TextWordWrap, text).height() + 2;
        return QSize(m_liste->viewport()->width(), qMax(hoehe, kBild) + 2 * kRand);
    }

    void paint(QPainter* maler, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        maler->save();
        const QRect r = option.rect;
        if (option.state & QStyle::State_Selected) {
            QColor markiert = option.palette.color(QPalette::Highlight);
            markiert.setAlpha(50);
            maler->fillRect(r, markiert);
        }
        maler->setPen(option.palette.color(QPalette::Mid));
        maler->drawLine(r.bottomLeft(), r.bottomRight());
        const bool richtig = index.data(Urteil).toBool();
        const QIcon bild = Bilder::kasten(richtig ? 3 : 5);
        maler->drawPixmap(r.left() + kRand, r.top() + kRand, bild.pixmap(QSize(kBild, kBild), maler->device()->devicePixelRatioF()));

        int y = r.top() + kRand;
        const auto liste = teile(index);
        for (int i = 0; i < liste.size(); ++i) {
            const auto& [text, schrift] = liste[i];
            maler->setFont(schrift);
            maler->setPen(i == 0 ? option.palette.color(QPalette::Text) : i == 1 && !richtig ? kRot : kGruen);
            QRect feld = textfeld(y);
            feld.moveLeft(r.left() + feld.left());
            feld = maler->boundingRect(feld, Qt::TextWordWrap, text);
            maler->drawText(feld, Qt::TextWordWrap, text);
            y = feld.bottom() + 1 + 2;
        }
        if (option.state & QStyle::State_HasFocus) {
            maler->setPen(QPen(option.palette.color(QPalette::Highlight), 1, Qt::DotLine));
            maler->drawRect(r.adjusted(1, 1, -2, -2));
        }
        maler->restore();
    }

private:
    QRect textfeld(int y) const
    {
        const int links = kRand + kBild + 8;
        return QRect(links, y, m_liste->viewport()->width() - links - kRand, 10000);
    }

    QList<std::pair<QString, QFont>> teile(const QModelIndex& index) const
    {
        const QFont normal = arial(9);
        QList<std::pair<QString, QFont>> liste{{index.data(Frage).toString(), arial(9, true)},
                                               {index.data(Gewaehlt).toString(), normal}};
        const QString richtig = index.data(Richtig).toString();
        if (!richtig.isEmpty())
            liste.append({richtig, normal});
        return liste;
    }

    QListWidget* m_liste;
};

QString modusText(Verlauf::Modus modus)
{
    return modus == Verlauf::Modus::Fehler ? QStringLiteral("Fehler üben") : QStringLiteral("Abfrage");
}

} // namespace

frmRueckblick::frmRueckblick(QWidget* eltern, const QList<Verlauf::Eintrag>& lauf)
    : QDialog(eltern, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmRueckblick"));
    setWindowTitle(QStringLiteral("Rückblick"));
    setFont(dialogschrift());
    Twips::setzeClient(this, 7905, 6150);

    bez_Titel = new QLabel(this);
    bez_Titel->setObjectName(QStringLiteral("bez_Titel"));
    Twips::setze(bez_Titel, 240, 120, 7455, 375);
    bez_Titel->setFont(arial(12, true));
    bez_Titel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    bez_Lauf = new QLabel(this);
    bez_Lauf->setObjectName(QStringLiteral("bez_Lauf"));
    Twips::setze(bez_Lauf, 240, 480, 7455, 300);
    bez_Lauf->setFont(arial(9.75));
    bez_Lauf->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    LView_Fragen = new QListWidget(this);
    LView_Fragen->setObjectName(QStringLiteral("LView_Fragen"));
    Twips::setze(LView_Fragen, 240, 840, 7455, 4560);
    LView_Fragen->setItemDelegate(new Zeile(LView_Fragen));
    LView_Fragen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LView_Fragen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LView_Fragen->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    LView_Fragen->setSelectionMode(QAbstractItemView::SingleSelection);
    LView_Fragen->setAccessibleName(QStringLiteral("Fragen des letzten Laufs"));

    bez_Hinweis = new QLabel(QStringLiteral("Falsch beantwortete Fragen stehen oben."), this);
    bez_Hinweis->setObjectName(QStringLiteral("bez_Hinweis"));
    Twips::setze(bez_Hinweis, 240, 5580, 5520, 375);
    bez_Hinweis->setFont(arial(9));
    bez_Hinweis->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    cmd_Schliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    cmd_Schliessen->setObjectName(QStringLiteral("cmd_Schliessen"));
    Twips::setze(cmd_Schliessen, 6360, 5520, 1335, 375);
    cmd_Schliessen->setDefault(true);

    for (QLabel* label : {bez_Titel, bez_Lauf, bez_Hinweis})
        label->setTextFormat(Qt::PlainText);
    setTabOrder(LView_Fragen, cmd_Schliessen);

    connect(cmd_Schliessen, &QPushButton::clicked, this, &QDialog::accept);

    fuelle(lauf);
    LView_Fragen->setFocus();
    if (LView_Fragen->count() > 0)
        LView_Fragen->setCurrentRow(0);
}

void frmRueckblick::fuelle(const QList<Verlauf::Eintrag>& lauf)
{
    const Katalog& bank = katalog();
    bez_Titel->setText(bank.Thema);

    QHash<QByteArray, int> nummer;
    for (int n = 1; n <= bank.AnzahlFragen; ++n)
        nummer.insert(Verlauf::kennung(bank, n), n);

    int falsch = 0;
    QList<QListWidgetItem*> richtige;
    for (const Verlauf::Eintrag& e : lauf) {
        auto* eintrag = new QListWidgetItem;
        const int n = nummer.value(e.frage);
        QString frage, gewaehlt, richtig;
        if (n == 0) {
            frage = QStringLiteral("Diese Frage wurde inzwischen in der Themendatei geändert.");
            gewaehlt = e.richtig ? QStringLiteral("Sie hatten sie richtig beantwortet.")
                                 : QStringLiteral("Sie hatten sie falsch beantwortet.");
        } else {
            frage = QStringLiteral("Frage %1: %2").arg(n).arg(alsAnzeige(bank.Frage(n)));
            gewaehlt = (e.richtig ? QStringLiteral("Ihre Antwort, richtig: ") : QStringLiteral("Ihre Antwort: ")) +
                       (e.antwort == 0 ? QStringLiteral("(keine)") : alsAnzeige(bank.Antwort(n, e.antwort)));
            if (!e.richtig)
                richtig = QStringLiteral("Richtige Antwort: ") + alsAnzeige(bank.Antwort(n, bank.Loesung(n)));
        }
        eintrag->setData(Frage, frage);
        eintrag->setData(Gewaehlt, gewaehlt);
        eintrag->setData(Richtig, richtig);
        eintrag->setData(Urteil, e.richtig);
        // What a screen reader says of the row: the verdict first, as the picture shows it.
        const QString urteil = e.richtig ? QStringLiteral("Richtig. ") : QStringLiteral("Falsch. ");
        const QString ganz = urteil + QStringList{frage, gewaehlt, richtig}.join(QLatin1Char(' ')).trimmed();
        eintrag->setData(Qt::DisplayRole, ganz);
        eintrag->setData(Qt::AccessibleTextRole, ganz);
        eintrag->setData(Qt::ToolTipRole, QVariant());
        if (e.richtig) {
            richtige << eintrag;
        } else {
            ++falsch;
            LView_Fragen->addItem(eintrag);
        }
    }
    for (QListWidgetItem* eintrag : richtige)
        LView_Fragen->addItem(eintrag);

    const QDateTime beginn = QDateTime::fromString(lauf.value(0).lauf, Qt::ISODateWithMs).toLocalTime();
    bez_Lauf->setText(QStringLiteral("%1 am %2 um %3 Uhr: %4 %5 beantwortet, davon %6 falsch")
                          .arg(modusText(lauf.value(0).modus), beginn.toString(QStringLiteral("dd.MM.yyyy")),
                               beginn.toString(QStringLiteral("HH:mm")))
                          .arg(lauf.size())
                          .arg(lauf.size() == 1 ? QStringLiteral("Frage") : QStringLiteral("Fragen"))
                          .arg(falsch));
}
