#include "app/forms/TdlgAboutBox.h"

#include "app/forms/Pictures.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace zol {

QString versionText()
{
    return QStringLiteral("Versione: ") + QStringLiteral(ZOL_VERSION);
}

TdlgAboutBox::TdlgAboutBox(QWidget* parent, Mode mode)
    : QDialog(parent, mode == Mode::Splash ? Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                                           : Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(mode == Mode::Splash ? QStringLiteral("splash") : QStringLiteral("dlgAboutBox"));
    setWindowTitle(QStringLiteral("Informazioni sul prodotto"));
    setAttribute(Qt::WA_StyledBackground);

    auto* emblem = new QLabel;
    emblem->setObjectName(QStringLiteral("Image1"));
    emblem->setPixmap(pictures::emblem(96));
    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("Image2"));
    picture->setPixmap(pictures::transmission(72));

    auto* prodName = new QLabel(QStringLiteral("ZOL"));
    prodName->setObjectName(QStringLiteral("prod_name"));
    QFont big = prodName->font();
    big.setPointSize(36);
    big.setBold(true);
    prodName->setFont(big);
    prodName->setStyleSheet(QStringLiteral("color: #1f4e8c;"));

    auto* text = new QLabel(QStringLiteral(
        "Programma per la trasmissione dei dati da parte degli uffici comunali per l'edilizia, dei permessi di "
        "costruire e ogni altro atto di assenso comunque denominato in materia di attività edilizia  relativamente "
        "ai soggetti dichiaranti, agli esecutori e ai progettisti dell'opera."));
    text->setObjectName(QStringLiteral("comments"));
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    text->setMinimumWidth(360);

    m_ver = new QLabel;
    m_ver->setObjectName(QStringLiteral("ver"));
    QFont bold = m_ver->font();
    bold.setBold(true);
    m_ver->setFont(bold);

    m_chiudi = new QLabel(QStringLiteral("Chiudi finestra"));
    m_chiudi->setObjectName(QStringLiteral("lChiudi"));
    m_chiudi->setCursor(Qt::PointingHandCursor);
    m_chiudi->setStyleSheet(QStringLiteral("color: #1f4e8c; text-decoration: underline;"));
    m_chiudi->installEventFilter(this);
    m_chiudi->setVisible(mode == Mode::About);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 18, 20, 14);
    grid->setHorizontalSpacing(18);
    grid->addWidget(emblem, 0, 0, Qt::AlignTop);
    grid->addWidget(prodName, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(picture, 1, 0, Qt::AlignTop | Qt::AlignHCenter);
    grid->addWidget(text, 1, 1);
    grid->addWidget(m_ver, 2, 1);
    grid->addWidget(m_chiudi, 3, 1, Qt::AlignRight);
    setFixedWidth(520);
}

void TdlgAboutBox::setVersion(const QString& text)
{
    m_ver->setText(text);
}

void TdlgAboutBox::lChiudiClick()
{
    close();
}

void TdlgAboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

bool TdlgAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_chiudi && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lChiudiClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TdlgAboutBox::paintEvent(QPaintEvent* event)
{
    // Without a window frame the box draws its own border.
    QDialog::paintEvent(event);
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0xf4, 0xf8, 0xfd));
    g.setColorAt(1, QColor(0xdb, 0xe6, 0xf4));
    p.fillRect(rect(), g);
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

} // namespace zol
