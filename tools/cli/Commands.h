#pragma once
// The archive commands of tavorio-cli, run on arguments already parsed: they print their
// results and Italian messages and return the process's exit status.

#include "archive/AccessImport.h"
#include "archive/ArchiveCreator.h"
#include "archive/ArchiveTransfer.h"

#include <QString>

class QTextStream;

namespace cli {

// crea-archivio FILE [--demo | --schede N] [--password-stdin]
int runCreate(const QString &path, const QString &password, const ArchiveContents &contents,
              QTextStream &out, QTextStream &err);

// verifica FILE [--password-stdin]: one line "TABLE ROWS" per table, in schema order.
int runCheck(const QString &path, const QString &password, QTextStream &out, QTextStream &err);

// trasferisci DA A [--password-stdin]: the copy's tables and rows, each row compared.
int runTransfer(const TransferSide &from, const TransferSide &to, QTextStream &out, QTextStream &err);

// importa FILE.mdb A [--password-stdin] [--prova] [--ignora-extra]: the report.
int runImport(const QString &accessFile, const QString &accessPassword, const TransferSide &to,
              const ImportOptions &options, QTextStream &out, QTextStream &err);

// The usage text printed for a wrong command line.
QString usageText();
// Its part about server addresses, printed alone for a refused address.
QString addressText();

} // namespace cli
