#include "platform/qt/unitQtFileFilter.h"

QStringList NameFiltersFromFilter(const std::string& Filter) {
  const QStringList Parts = QString::fromStdString(Filter).split(u'|');
  QStringList NameFilters;
  for (qsizetype Index = 0; Index + 1 < Parts.size(); Index += 2) {
    const QString& Description = Parts[Index];
    const QString& Pattern = Parts[Index + 1];
    if (Description.contains(u'(' + Pattern + u')'))
      NameFilters << Description;
    else
      NameFilters << Description + " (" + QString(Pattern).replace(u';', u' ') + u')';
  }
  return NameFilters;
}
