#include "ExistingOutput.h"

#include <QFileInfo>

bool ExistingOutput::Parse(const QString& text, Rule& rule) {
  if (text == QLatin1String("number")) return (rule = Rule::kNumber), true;
  if (text == QLatin1String("replace")) return (rule = Rule::kReplace), true;
  if (text == QLatin1String("skip")) return (rule = Rule::kSkip), true;
  return false;
}

bool ExistingOutput::IsOtherFile(const QString& source, const QString& dest) {
  if (dest == source) return false;
  const QFileInfo info(dest);
  return info.exists() || info.isSymLink();
}

std::vector<BatchNaming::Output> ExistingOutput::Plan(const QStringList& sources,
                                                      BatchNaming::Request request, Rule rule) {
  if (rule == Rule::kNumber) request.occupied = IsOtherFile;
  std::vector<BatchNaming::Output> plan = BatchNaming::Plan(sources, request);
  if (rule == Rule::kSkip)
    for (std::size_t i = 0; i < plan.size(); ++i)
      plan[i].skip = IsOtherFile(sources[int(i)], plan[i].dest);
  return plan;
}
