#pragma once
// WorkerProtocol: what the batch wizard and its worker processes say to each other: the
// options as trimjet-cli's option words (OptionGrammar), one job or result per line with
// percent-encoded fields.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/BatchJob.h"
#include "core/BatchOptions.h"

namespace WorkerProtocol {

QStringList OptionArguments(const BatchOptions& options);
// False with error set for an argument the worker does not understand.
bool ParseOptionArguments(const QStringList& args, BatchOptions& options, QString& error);

// "index<TAB>source<TAB>dest\n"
QByteArray JobLine(int index, const QString& source, const QString& dest);
bool ParseJobLine(const QByteArray& line, int& index, QString& source, QString& dest);
// "index<TAB>ok (1, 0, or k for kept)<TAB>before<TAB>after<TAB>reason<TAB>width<TAB>height
//  <TAB>lossless (1 or 0)<TAB>quality written\n"
QByteArray ResultLine(int index, const BatchJob::Result& result);
bool ParseResultLine(const QByteArray& line, int& index, BatchJob::Result& result);

}  // namespace WorkerProtocol
