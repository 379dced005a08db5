// What a client's statement may hold on the PostgreSQL path: nothing the tokenizer reads as inert
// text that PostgreSQL would read as code, no catalog, and no function beyond a short list.
#pragma once

#include <string>
#include <vector>

#include "dataserver/pgdialect.h"
#include "dataserver/sqltokens.h"

namespace tarmel::dataserver {

// The Latin-1 message refusing the statement ("Requête refusée : ..."), for its first offending
// token; empty when the statement may go to PostgreSQL.
std::string PgClientRefusal(const std::vector<Token>& tokens, const NameSpelling& names);

}  // namespace tarmel::dataserver
