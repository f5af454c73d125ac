#include "frame/ui/MainFrame.h"

#include <QApplication>
#include <QWidget>

namespace {
MainFrame *g_frame = nullptr;
}

MainFrame::MainFrame()
{
    g_frame = this;
}

MainFrame::~MainFrame()
{
    if (g_frame == this)
        g_frame = nullptr;
}

MainFrame *MainFrame::instance()
{
    return g_frame;
}

QWidget *MainFrame::Owner()
{
    return g_frame ? g_frame->FrameWidget() : nullptr;
}

QWidget *MainFrame::ModalParent()
{
    if (QWidget *m = QApplication::activeModalWidget())
        return m;
    return Owner();
}
