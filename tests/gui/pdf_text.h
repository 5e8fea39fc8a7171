// What a PDF file holds, read with the command-line tools of poppler-utils (installed by the
// set-up script): its page count (pdfinfo), the text of a page or of all pages (pdftotext) and
// its number of pictures (pdfimages).
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>

namespace pdf {

// The tool's standard output (UTF-8); fails the test when the tool does not run.
inline QString run(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    QTest::qFail(qPrintable(tool + " failed on " + args.join(' ') + ": " + p.errorString()), __FILE__, __LINE__);
    return {};
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pages(const QString& file) {
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
          .match(run(QStringLiteral("pdfinfo"), {file}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text of page `page` (from 1), or of every page when 0, blanks and line breaks each made
// one blank: a wrapped cell reads as its words in order. In reading order, or with `raw` in the
// order it was painted (cards side by side then read one after the other).
inline QString text(const QString& file, int page = 0, bool raw = false) {
  QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
  if (raw) args << QStringLiteral("-raw");
  if (page > 0) args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
  args << file << QStringLiteral("-");
  return run(QStringLiteral("pdftotext"), args).simplified();
}

// The lines of page `page` in the order they were painted, blanks within each made one blank.
inline QStringList lines(const QString& file, int page) {
  QStringList out;
  const QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-raw"), QStringLiteral("-f"),
                         QString::number(page), QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")};
  for (const QString& l : run(QStringLiteral("pdftotext"), args).split('\n')) out << l.simplified();
  return out;
}

inline int images(const QString& file) {
  const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file}).split('\n', Qt::SkipEmptyParts);
  return static_cast<int>(lines.size()) - 2;  // below a header of two lines, one line a picture
}

}  // namespace pdf
