#include "InputRule.h"

PointerReport CInputRule::OnPointerAt(double x, double y)
{
    if (!m_known) {
        OnPointerRests(x, y);
        return POINTER_FIRST;
    }
    const double dx = x - m_x;
    const double dy = y - m_y;
    if (dx > m_slack || dx < -m_slack || dy > m_slack || dy < -m_slack)
        return POINTER_MOVED;
    return POINTER_STILL;
}

void CInputRule::OnPointerRests(double x, double y)
{
    m_known = true;
    m_x = x;
    m_y = y;
}
