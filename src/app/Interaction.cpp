#include "app/Interaction.h"

namespace zol {
namespace {

Interaction* g_current = nullptr;

} // namespace

Interaction& ui()
{
    static QuietInteraction silent;
    return g_current ? *g_current : silent;
}

InteractionGuard::InteractionGuard(Interaction* interaction) : m_previous(g_current)
{
    g_current = interaction;
}

InteractionGuard::~InteractionGuard()
{
    g_current = m_previous;
}

void Interaction::information(const QString& text, const QString& title)
{
    message(title, text, Icon::Information, Ok, Ok);
}

void Interaction::warning(const QString& text, const QString& title)
{
    message(title, text, Icon::Warning, Ok, Ok);
}

void Interaction::error(const QString& text, const QString& title)
{
    message(title, text, Icon::Error, Ok, Ok);
}

bool Interaction::question(const QString& text, const QString& title, bool defaultYes)
{
    return message(title, text, Icon::Question, Yes | No, defaultYes ? Yes : No) == Yes;
}

} // namespace zol
