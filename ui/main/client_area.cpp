#include "ui/main/client_area.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace kolma::ui {

TClientArea::TClientArea(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ClientArea"));
  setAutoFillBackground(false);

  guide_ = new QLabel(this);
  guide_->setObjectName(QStringLiteral("StartGuide"));
  guide_->setAlignment(Qt::AlignCenter);
  guide_->setTextFormat(Qt::RichText);
  guide_->setTextInteractionFlags(Qt::TextBrowserInteraction);
  guide_->setText(QStringLiteral("<p><b>To begin:</b></p>"
                                 "<p><a href=\"%1\">Open an example...</a></p>"
                                 "<p><a href=\"%2\">Open a project...</a></p>"
                                 "<p><a href=\"%3\">Define the section...</a></p>")
                      .arg(QLatin1String(kOpenExampleLink), QLatin1String(kOpenProjectLink),
                           QLatin1String(kDefineSectionLink)));
  guide_->setAccessibleName(QStringLiteral("To begin"));
  connect(guide_, &QLabel::linkActivated, this, &TClientArea::StartLinkActivated);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(guide_);
}

void TClientArea::AddPicture(QWidget* picture) {
  picture->setParent(this);
  layout()->addWidget(picture);
  pictures_.append(picture);
  // Shown and hidden are told to the parent even while the window itself is hidden.
  picture->installEventFilter(this);
  UpdateGuide();
}

bool TClientArea::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) UpdateGuide();
  return QWidget::eventFilter(watched, event);
}

void TClientArea::UpdateGuide() {
  bool pictureShown = false;
  for (const QWidget* picture : pictures_) pictureShown = pictureShown || !picture->isHidden();
  guide_->setVisible(!pictureShown);
}

void TClientArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0.0, QColor(238, 243, 250));
  gradient.setColorAt(1.0, QColor(196, 212, 232));
  p.fillRect(rect(), gradient);
}

}  // namespace kolma::ui
