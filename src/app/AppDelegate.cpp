#include "app/AppDelegate.h"

AppDelegate::AppDelegate(Seams seams, QObject* parent) : QObject(parent), seams_(seams)
{
  queue.setMaxThreadCount(5);
}

AppDelegate::~AppDelegate() { queue.waitForDone(); }

void AppDelegate::setFileName(const QString& name)
{
  doc.filename = name.toStdString();
  updateTitle();
}

QString AppDelegate::getFileBaseName() const { return QString::fromStdString(doc.getFileBaseName()); }

void AppDelegate::updateTitle() { emit titleChanged(QString::fromStdString(doc.windowTitle())); }
