#pragma once
// The office's own certificate authority and the server's certificate it signs, for the
// names desks use to reach the server (host names or IP addresses), made with the openssl
// command. The authority's private key is used once and never written where it would stay:
// a new server certificate means a new authority, and new desk folders.

#include <QString>
#include <QStringList>

namespace cli {

struct OfficeCertificates {
    QString authority;       // PEM certificate of the authority: what every desk trusts
    QString serverCert;      // PEM certificate of the server, signed by the authority
    QString serverKey;       // PEM private key of the server
};

// Makes the three files in `folder`; throws CliError(Refused) with openssl's reason.
OfficeCertificates makeOfficeCertificates(const QString &folder, const QStringList &serverNames);

} // namespace cli
