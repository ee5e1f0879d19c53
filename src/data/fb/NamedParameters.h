#pragma once

#include <QString>
#include <QStringList>

namespace corvadel::fb {

// Rewrites named parameters (:NAME, :OLD_NAME) to the server's positional
// markers (?) and lists, in namesByPosition if given, the name of each
// marker in order of position. A name may occur at several positions. A '?'
// already in the text is kept as an unnamed position (an empty name).
//
// Text inside '...' and "..." and q'{...}' literals and inside -- and /* */
// comments is copied unchanged. A name starts with a letter or underscore
// and continues with letters, digits, '_' and '$'. Everything else is copied
// as it is; the text is not otherwise parsed, so the body of an EXECUTE BLOCK
// (whose :variables are its own) must not go through here.
QString rewriteNamedParameters(const QString &sql, QStringList *namesByPosition);

} // namespace corvadel::fb
