#pragma once
// Every window of the frame localises its layout through this one call, so the
// convention (string numbers kept in the dynamic property "Tag", in menu
// entries' texts and in toolbar tooltips) lives in one place.
class QWidget;

void LocaliseForm(QWidget *window);
