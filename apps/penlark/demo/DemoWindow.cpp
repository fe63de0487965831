#include "demo/DemoWindow.h"

#include "DocumentReport.h"
#include "automation/Tarnwell.h"
#include "word/Word.h"

#include <QDesktopServices>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace penlark::cli {
namespace {

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

QWidget* ServerView(const std::string& serverRoot, QWidget* parent) {
  auto* model = new QFileSystemModel(parent);
  model->setRootPath(ToQString(serverRoot));
  auto* tree = new QTreeView(parent);
  tree->setModel(model);
  tree->setRootIndex(model->index(ToQString(serverRoot)));
  for (int column = 1; column < model->columnCount(); ++column) {
    tree->hideColumn(column);
  }
  tree->header()->hide();
  tree->setAccessibleName(QObject::tr("The server's folders and documents"));
  return tree;
}

}  // namespace

DemoWindow::DemoWindow(const std::string& serverText, const std::string& serverRoot,
                       const DesktopWord& desktop)
    : desktop_(desktop) {
  setWindowTitle(tr("Penlark demo"));
  auto* login =
      new QLabel(tr("<b>Log in with</b> &nbsp; Domain Name: <code>%1</code> &nbsp; Username: "
                    "<code>demo</code> &nbsp; Password: <code>penlark</code>")
                     .arg(ToQString(serverText)));
  login->setTextInteractionFlags(Qt::TextSelectableByMouse);

  const std::pair<QString, bool (Tarnwell::*)()> operations[] = {
      {tr("&Open from server..."), &Tarnwell::XMLOpen},
      {tr("Save to server &as..."), &Tarnwell::XMLSaveAs},
      {tr("&Save"), &Tarnwell::XMLSave},
      {tr("&Close document"), &Tarnwell::XMLClose},
      {tr("&Help"), &Tarnwell::XMLHelp}};
  auto* buttons = new QHBoxLayout;
  for (const auto& [caption, operation] : operations) {
    auto* button = new QPushButton(caption);
    connect(button, &QPushButton::clicked, this, [this, run = operation] { Run(run); });
    buttons->addWidget(button);
  }
  buttons->addStretch();

  const QString documentsTitle = tr("Documents open in %1").arg(ToQString(desktop_.name));
  documents_ = new QListWidget;
  documents_->setAccessibleName(documentsTitle);
  auto* view =
      new QPushButton(desktop_.showsDocuments ? tr("Bring the active document to the &front")
                                              : tr("&View the active document"));
  connect(view, &QPushButton::clicked, this, &DemoWindow::ShowActiveDocument);
  auto* documentsBox = new QGroupBox(documentsTitle);
  auto* documentsLayout = new QVBoxLayout(documentsBox);
  documentsLayout->addWidget(documents_);
  documentsLayout->addWidget(view, 0, Qt::AlignLeft);

  auto* serverBox = new QGroupBox(tr("The server's side"));
  auto* serverLayout = new QVBoxLayout(serverBox);
  serverLayout->addWidget(ServerView(serverRoot, serverBox));

  auto* quit = new QPushButton(tr("&Quit"));
  connect(quit, &QPushButton::clicked, this, &QWidget::close);

  auto* grid = new QGridLayout(this);
  grid->addWidget(login, 0, 0, 1, 2);
  grid->addLayout(buttons, 1, 0, 1, 2);
  grid->addWidget(documentsBox, 2, 0);
  grid->addWidget(serverBox, 2, 1);
  grid->addWidget(quit, 3, 1, Qt::AlignRight);
  resize(900, 520);
  ShowDocuments();
  if (desktop_.showsDocuments) {
    auto* follow = new QTimer(this);
    connect(follow, &QTimer::timeout, this, &DemoWindow::ShowDocuments);
    follow->start(1000);
  }
}

void DemoWindow::OpenFromServer() {
  Run(&Tarnwell::XMLOpen);
}

void DemoWindow::Run(bool (Tarnwell::*operation)()) {
  try {
    Tarnwell tarnwell;
    (tarnwell.*operation)();
  } catch (const std::exception& error) {
    // What a macro would see as an automation error.
    QMessageBox::critical(this, tr("Penlark demo"), ToQString(error.what()));
  }
  ShowDocuments();
}

void DemoWindow::ShowDocuments() {
  QStringList texts;
  try {
    for (const DocumentLine& line : OpenDocuments(*desktop_.word)) {
      texts.append(ToQString(line.file + (line.active ? "   (active)" : "")));
    }
  } catch (const WordError& error) {
    texts = {tr("%1 does not answer: %2").arg(ToQString(desktop_.name), ToQString(error.what()))};
  }
  // Rebuilt only on a change, so that a selection survives the timer.
  if (texts != shownDocuments_) {
    documents_->clear();
    documents_->addItems(texts);
    shownDocuments_ = texts;
  }
}

// The stand-in shows nothing itself: the desktop's handler opens the file. Writer brings the
// document's window to the front.
void DemoWindow::ShowActiveDocument() {
  try {
    if (desktop_.showsDocuments) {
      desktop_.word->ActiveDocument()->Activate();
      return;
    }
    for (const DocumentLine& line : OpenDocuments(*desktop_.word)) {
      if (line.active) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(line.file)));
      }
    }
  } catch (const WordError& error) {
    QMessageBox::information(this, tr("Penlark demo"), ToQString(error.what()));
  }
}

}  // namespace penlark::cli
