#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Acts on the next modal window that opens (a dialog run with exec()), as the user would: the
// handler fills it and presses its buttons. Stops after the first one.
class ModalWatcher : public QObject
{
public:
    explicit ModalWatcher(std::function<void(QWidget*)> handler) : m_handler(std::move(handler))
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible())
                return;
            m_timer.stop();
            ++m_seen;
            m_className = QString::fromLatin1(w->metaObject()->className());
            QPointer<QWidget> guard(w);
            m_handler(w);
            // A handler that stopped half-way (a failed check) must not leave the test waiting.
            if (guard && guard->isVisible())
                guard->close();
        });
        m_timer.start();
    }
    int seen() const { return m_seen; }
    QString className() const { return m_className; }

private:
    std::function<void(QWidget*)> m_handler;
    QTimer m_timer;
    int m_seen = 0;
    QString m_className;
};
