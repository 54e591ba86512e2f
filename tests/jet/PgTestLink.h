#pragma once
// A plain libpq connection for the dialect tests: the office role on a new database of the
// test server, statements with "?" parameters as the translations write them, results as
// texts. Kept apart from the engine's own server connection on purpose: these tests judge
// the translation, not the session.

#include "engine/pg/PgSchema.h"
#include "engine/Value.h"
#include "tests/support/PgTestServer.h"

#include <QStringList>
#include <libpq-fe.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace jettest {

class PgTestLink final {
public:
    // Connects to a new empty database; throws std::runtime_error when it cannot.
    PgTestLink()
    {
        const QByteArray address = testsupport::newPgDatabase().toUtf8();
        const QByteArray password = testsupport::pgOfficePassword().toUtf8();
        const char *keys[] = {"dbname", "password", nullptr};
        const char *values[] = {address.constData(), password.constData(), nullptr};
        m_conn.reset(PQconnectdbParams(keys, values, 1));
        if (PQstatus(m_conn.get()) != CONNECTION_OK)
            throw std::runtime_error(std::string("connection: ") + PQerrorMessage(m_conn.get()));
        exec(QStringLiteral("SET extra_float_digits = 3"));
        // As the archive's sessions resolve names: its tables, then its functions' schema.
        exec(QStringLiteral("SET search_path = ") + QLatin1String(dao::pg::kSearchPath));
    }

    void exec(const QString &sql) { rows(sql, {}); }

    // The rows of a statement whose "?" are the params in order; null reads as "<null>".
    std::vector<QStringList> rows(const QString &sql, const std::vector<dao::Value> &params)
    {
        QString numbered;
        int next = 0;
        for (const QChar c : sql)
            numbered += c == u'?' ? QStringLiteral("$%1").arg(++next) : QString(c);
        std::vector<QByteArray> texts;
        std::vector<const char *> values;
        std::vector<int> formats;
        std::vector<int> lengths;
        texts.reserve(params.size());
        for (const dao::Value &value : params) {
            const bool binary = value.isBytes();
            texts.push_back(value.isText() ? value.asText().toUtf8()
                            : binary       ? value.asBytes()
                            : value.isInt() || value.isBool() ? QByteArray::number(value.asInt())
                                                               : QByteArray::number(value.asDouble(), 'g', 17));
            values.push_back(value.isNull() ? nullptr : texts.back().constData());
            formats.push_back(binary ? 1 : 0);
            lengths.push_back(int(texts.back().size()));
        }
        const std::unique_ptr<PGresult, decltype(&PQclear)> result(
            PQexecParams(m_conn.get(), numbered.toUtf8().constData(), int(params.size()), nullptr, values.data(),
                         lengths.data(), formats.data(), 0),
            &PQclear);
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
            throw std::runtime_error(std::string(PQresultErrorMessage(result.get())) + " in " + numbered.toStdString());
        std::vector<QStringList> out;
        for (int r = 0; r < PQntuples(result.get()); ++r) {
            QStringList row;
            for (int c = 0; c < PQnfields(result.get()); ++c)
                row << (PQgetisnull(result.get(), r, c) ? QStringLiteral("<null>")
                                                        : QString::fromUtf8(PQgetvalue(result.get(), r, c)));
            out.push_back(row);
        }
        return out;
    }

private:
    std::unique_ptr<PGconn, decltype(&PQfinish)> m_conn{nullptr, &PQfinish};
};

} // namespace jettest
