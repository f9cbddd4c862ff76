#include "MainWindow.h"

#include "Consiste.h"
#include "EventGuard.h"
#include "LayoutMemory.h"
#include "TBaseForm.h"
#include "WorkingContext.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace fai {

MainWindow::MainWindow(std::function<void()> openHeadcounts, QWidget* parent)
    : QMainWindow(parent),
      documents_(new QMdiArea(this)),
      branchLabel_(new QLabel(this)),
      billingBranchLabel_(new QLabel(this)),
      dateLabel_(new QLabel(this)),
      userLabel_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Faturamento"));
    documents_->setObjectName(QStringLiteral("mdiDocumentos"));
    documents_->setViewMode(QMdiArea::SubWindowView);
    setCentralWidget(documents_);

    QMenu* billing = menuBar()->addMenu(QStringLiteral("&Faturamento"));
    QAction* headcounts = billing->addAction(QStringLiteral("&Efetivos para Faturamento"));
    headcounts->setObjectName(QStringLiteral("mnuEfetFatur"));
    connect(headcounts, &QAction::triggered, this,
            [openHeadcounts] { GuardEvent(openHeadcounts); });
    billing->addSeparator();
    QAction* quit = billing->addAction(QStringLiteral("&Sair"));
    quit->setObjectName(QStringLiteral("mnuSair"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* windows = menuBar()->addMenu(QStringLiteral("&Janelas"));
    windows->addAction(QStringLiteral("&Cascata"), documents_, &QMdiArea::cascadeSubWindows);
    windows->addAction(QStringLiteral("&Lado a lado"), documents_, &QMdiArea::tileSubWindows);
    windows->addSeparator();
    QAction* restore = windows->addAction(QStringLiteral("&Restaurar disposição padrão"));
    restore->setObjectName(QStringLiteral("mnuRestaurarDisposicao"));
    connect(restore, &QAction::triggered, this,
            [this] { GuardEvent([this] { RestoreDefaultLayouts(*documents_); }); });

    statusBar()->addWidget(branchLabel_);
    statusBar()->addWidget(billingBranchLabel_);
    statusBar()->addPermanentWidget(userLabel_);
    statusBar()->addPermanentWidget(dateLabel_);
    ShowWorkingContext();
}

void MainWindow::ShowAsLeft() {
    if (restoreGeometry(LayoutMemory::MainWindowGeometry())) {
        restoreState(LayoutMemory::MainWindowState());
        show();
    } else {
        // A desktop without a window manager does not maximize: the window takes the screen
        // itself.
        setGeometry(screen()->availableGeometry());
        showMaximized();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    for (QMdiSubWindow* screen : documents_->subWindowList()) {
        if (!screen->close()) {
            event->ignore();
            return;
        }
    }
    LayoutMemory::RememberMainWindow(saveGeometry(), saveState());
    QMainWindow::closeEvent(event);
}

void MainWindow::ShowWorkingContext() {
    branchLabel_->setText(QStringLiteral("Filial: %1 %2").arg(FiliProc(), NomeFiliProc()));
    billingBranchLabel_->setText(
        QStringLiteral("Filial de faturamento: %1 %2").arg(FiliProcFat(), NomeFiliProcFat()));
    const QString branch = FiliProcFat().isEmpty() ? FiliProc() : FiliProcFat();
    dateLabel_->setText(
        QStringLiteral("Data de processamento: %1").arg(DateToStr(DataProc(branch))));
    const QString& user = WorkingContext().userName;
    userLabel_->setText(user.isEmpty() ? QString() : QStringLiteral("Usuário: %1").arg(user));
}

}  // namespace fai
