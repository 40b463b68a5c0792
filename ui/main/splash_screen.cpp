#include "ui/main/splash_screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include "ui/widgets/icons.h"
#include "ui/main/program_info.h"

namespace kolma::ui {

TSplashScreen::TSplashScreen(int showTimeMs, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("SplashScreen"));
  setFixedSize(kWidth, kHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  timer_.setInterval(showTimeMs);
  connect(&timer_, &QTimer::timeout, this, &TSplashScreen::TimerTimer);
  timer_.start();
  qApp->installEventFilter(this);
}

QString TSplashScreen::VersionLine() const {
  return QStringLiteral("VERSION %1 - %2").arg(ShortVersionText(), QString::fromLatin1(kReleaseDate));
}

void TSplashScreen::TimerTimer() {
  timer_.stop();
  timerFired_ = true;
  QCoreApplication::processEvents();
}

void TSplashScreen::Dismiss() {
  timer_.stop();
  timerFired_ = true;
  qApp->removeEventFilter(this);
  close();
}

void TSplashScreen::mousePressEvent(QMouseEvent* event) {
  event->accept();
  Dismiss();
}

bool TSplashScreen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isVisible()) {
    Dismiss();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TSplashScreen::CloseWhenReady() {
  while (!close()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TSplashScreen::closeEvent(QCloseEvent* event) {
  if (timerFired_)
    event->accept();
  else
    event->ignore();
}

namespace {

void ShadowedText(QPainter& p, const QRectF& box, int flags, const QString& text) {
  const QPen pen = p.pen();
  p.setPen(QColor(40, 48, 60, 150));
  p.drawText(box.translated(1.5, 1.5), flags, text);
  p.setPen(pen);
  p.drawText(box, flags, text);
}

}  // namespace

void TSplashScreen::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  // Silver panel.
  QLinearGradient silver(0, 0, 0, height());
  silver.setColorAt(0.0, QColor(206, 210, 216));
  silver.setColorAt(0.55, QColor(168, 174, 184));
  silver.setColorAt(1.0, QColor(132, 139, 150));
  p.fillRect(rect(), silver);
  p.setPen(QPen(QColor(96, 102, 112), 1));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(QPen(QColor(236, 238, 242), 1));
  p.drawLine(1, 1, width() - 2, 1);
  p.drawLine(1, 1, 1, height() - 2);

  p.drawImage(QRectF(40, 44, 112, 112), KolmaLogo(224));

  // The name as large as the room beside the logo allows, whatever fonts are installed.
  const QRectF nameBox(172, 40, width() - 172 - 30, 120);
  const QString name = QString::fromLatin1(kApplicationTitle);
  QFont title = font();
  title.setBold(true);
  title.setLetterSpacing(QFont::AbsoluteSpacing, 4);
  for (int size = 96; size > 24; size -= 4) {
    title.setPixelSize(size);
    if (QFontMetricsF(title).horizontalAdvance(name) <= nameBox.width()) break;
  }
  p.setFont(title);
  p.setPen(Qt::white);
  ShadowedText(p, nameBox, Qt::AlignLeft | Qt::AlignVCenter, name);

  QFont subtitle = font();
  subtitle.setPixelSize(17);
  p.setFont(subtitle);
  ShadowedText(p, QRectF(40, 178, width() - 80, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Transient thermal analysis of concrete dam sections"));

  p.setPen(QPen(QColor(255, 255, 255, 170), 1));
  p.drawLine(40, 214, width() - 40, 214);

  QFont version = font();
  version.setPixelSize(15);
  version.setBold(true);
  p.setFont(version);
  p.setPen(Qt::white);
  ShadowedText(p, QRectF(40, 222, width() - 80, 24), Qt::AlignRight | Qt::AlignVCenter, VersionLine());

  QFont credits = font();
  credits.setPixelSize(13);
  p.setFont(credits);
  p.setPen(QColor(34, 40, 50));
  const QStringList lines = {
      QStringLiteral("Direct and inverse harmonic analysis of temperature histories"),
      QStringLiteral("Thermal decomposition of the section and thermal stresses"),
      QStringLiteral("Face histories, thermometer records, charts, tables and 3-D views"),
  };
  for (int i = 0; i < lines.size(); ++i)
    p.drawText(QRectF(40, 290 + i * 22, width() - 80, 20), Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
}

}  // namespace kolma::ui
