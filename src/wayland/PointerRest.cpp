#include "PointerRest.h"

void CPointerRest::OnEnter(double x, double y)
{
    m_known = true;
    m_x = x;
    m_y = y;
}

bool CPointerRest::OnMotion(double x, double y)
{
    if (!m_known) {
        OnEnter(x, y);
        return false;
    }
    const double dx = x - m_x;
    const double dy = y - m_y;
    return dx > SLACK || dx < -SLACK || dy > SLACK || dy < -SLACK;
}
