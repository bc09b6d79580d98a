// What a list does by default where its owner may step in; the same on every system.
#include "ListCtrl.h"

CListCtrl::ItemColors CListCtrl::GetItemColors(int, int) const {
    return {};
}

bool CListCtrl::OnContextMenu(CPoint) {
    return false;
}

bool CListCtrl::OnHeaderBeginTrack(int) {
    return false;
}

bool CListCtrl::OnHeaderEndTrack(int, int) {
    return false;
}

void CListCtrl::OnHeaderEndDrag(int, int) {}
