#include "Fragenliste.h"

#include "Bilder.h"
#include "Twips.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

enum Rolle { Frage = Qt::UserRole, Gewaehlt, Richtig, Urteil, Erlaeuterung };

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
        for (const auto& [text, schrift, farbe] : teile(index))
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
        const auto urteil = Fragenliste::Urteil(index.data(Urteil).toInt());
        const bool richtig = urteil == Fragenliste::Urteil::Richtig;
        const QIcon bild = Bilder::kasten(richtig ? 3 : urteil == Fragenliste::Urteil::Falsch ? 5 : 1);
        maler->drawPixmap(r.left() + kRand, r.top() + kRand, bild.pixmap(QSize(kBild, kBild), maler->device()->devicePixelRatioF()));

        int y = r.top() + kRand;
        const auto liste = teile(index);
        for (int i = 0; i < liste.size(); ++i) {
            const auto& [text, schrift, farbe] = liste[i];
            maler->setFont(schrift);
            maler->setPen(farbe.isValid() ? farbe : option.palette.color(QPalette::Text));
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

    // The texts of a row with their fonts and colours (none: the text colour): the question, the
    // answer chosen in the verdict's colour, the right answer in green, the explanation.
    QList<std::tuple<QString, QFont, QColor>> teile(const QModelIndex& index) const
    {
        const QFont normal = arial(9);
        const bool richtig = Fragenliste::Urteil(index.data(Urteil).toInt()) == Fragenliste::Urteil::Richtig;
        QList<std::tuple<QString, QFont, QColor>> liste{
            {index.data(Frage).toString(), arial(9, true), QColor()},
            {index.data(Gewaehlt).toString(), normal, richtig ? kGruen : kRot}};
        const QString richtigeAntwort = index.data(Richtig).toString();
        if (!richtigeAntwort.isEmpty())
            liste.append({richtigeAntwort, normal, kGruen});
        const QString erlaeuterung = index.data(Erlaeuterung).toString();
        if (!erlaeuterung.isEmpty())
            liste.append({erlaeuterung, normal, QColor()});
        return liste;
    }

    QListWidget* m_liste;
};

} // namespace

Fragenliste::Fragenliste(QWidget* eltern) : QListWidget(eltern)
{
    setItemDelegate(new Zeile(this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QListWidgetItem* Fragenliste::fuegeHinzu(const QString& frage, const QString& gewaehlt, const QString& richtigeAntwort,
                                         Urteil urteil, const std::optional<Erlaeuterungen::Eintrag>& erlaeuterung)
{
    const bool richtig = urteil == Urteil::Richtig;
    QString warum;
    if (!richtig && erlaeuterung) {
        warum = QStringLiteral("Erläuterung: ") + alsAnzeige(erlaeuterung->text);
        if (!erlaeuterung->quelle.isEmpty())
            warum += QStringLiteral(" (Quelle: %1)").arg(erlaeuterung->quelle);
    }
    auto* eintrag = new QListWidgetItem(this);
    eintrag->setData(Frage, frage);
    eintrag->setData(Gewaehlt, gewaehlt);
    eintrag->setData(Richtig, richtig ? QString() : richtigeAntwort);
    eintrag->setData(Rolle::Urteil, int(urteil));
    eintrag->setData(Rolle::Erlaeuterung, warum);
    QStringList satz{frage, gewaehlt};
    if (!richtig)
        satz << richtigeAntwort << warum;
    satz.removeAll(QString());
    const QString ganz = (richtig                    ? QStringLiteral("Richtig. ")
                          : urteil == Urteil::Falsch ? QStringLiteral("Falsch. ")
                                                     : QStringLiteral("Offen. ")) +
                         satz.join(QLatin1Char(' ')).trimmed();
    eintrag->setData(Qt::DisplayRole, ganz);
    eintrag->setData(Qt::AccessibleTextRole, ganz);
    return eintrag;
}
