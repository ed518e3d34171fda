#include "app/forms/TdlgMemo.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zol {

QString TdlgMemo::history()
{
    return QStringLiteral("<b>Versione 6.00</b><br>Prima versione rilasciata per l'annualità 2012<br><br>");
}

TdlgMemo::TdlgMemo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgMemo"));
    setWindowTitle(QStringLiteral("Storico delle versioni"));
    auto* text = new QTextBrowser;
    text->setObjectName(QStringLiteral("Memo"));
    text->setHtml(history());
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("bOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* top = new QVBoxLayout(this);
    top->addWidget(text);
    top->addLayout(buttons);
    resize(420, 300);
}

} // namespace zol
