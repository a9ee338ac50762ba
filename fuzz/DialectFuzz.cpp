// fuzz/DialectFuzz.cpp - the client library's reading of a command line and its rewriting
// for GNU CVS (arguments in, plan out), of "cvs --version", CVS/Root and CVS/Entries lines,
// and of the "rls" listing it rewrites.
//
// Input: NUL-separated texts: the version text, CVSROOT, the folder's CVS/Root line, then
// the command line's words. The same words, joined by line feeds, are also a listing fed to
// the rewriter whole and in chunks; both must give the same text.
#include "cvsglue/Dialect.h"
#include "fuzz/FuzzInput.h"

#include <algorithm>

using namespace cvsglue;

namespace {

bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    auto at = whole.begin();
    for (const std::string& word : part) {
        at = std::find(at, whole.end(), word);
        if (at == whole.end())
            return false;
        ++at;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = fuzzing::SplitAtNul(fuzzing::AsText(data, size), 64);
    const std::string version = parts[0];
    Facts facts;
    facts.environmentRoot = fuzzing::PartOr(parts, 1);
    facts.folderRoot = fuzzing::PartOr(parts, 2);
    std::vector<std::string> args;
    for (size_t i = 3; i < parts.size(); ++i)
        args.push_back(parts[i]);

    (void)DialectFromVersionText(version);
    for (const std::string& root : {facts.environmentRoot, facts.folderRoot}) {
        const std::string user = RootUser(root);
        FUZZ_CHECK(root.find(user) != std::string::npos);
        (void)IsPserverRoot(root);
    }
    const EntryLine entry = ParseEntryLine(facts.folderRoot);
    FUZZ_CHECK(!entry.ok || facts.folderRoot[0] == '/');
    FUZZ_CHECK(entry.name.find('/') == std::string::npos);

    const CommandLine split = SplitCommandLine(args);
    // Every word is a global option, the command (which may be an empty word) or after it.
    const size_t placed = split.globals.size() + split.rest.size();
    FUZZ_CHECK(placed == args.size() ||
               (placed + 1 == args.size() && args[split.globals.size()] == split.command));
    // Any other cvs runs the words as given, with -f added when they lack it.
    const Plan other = MakePlan(Dialect::Other, args, facts);
    FUZZ_CHECK(other.action == Action::Run);
    if (!split.command.empty())
        FUZZ_CHECK(IsSubsequence(args, other.args) && other.args.size() <= args.size() + 1);
    const Plan gnu = MakePlan(Dialect::Gnu, args, facts);
    FUZZ_CHECK(gnu.action != Action::Run || !gnu.args.empty());
    FUZZ_CHECK(gnu.action != Action::Refuse || !gnu.message.empty());

    std::string listing;
    for (const std::string& word : args)
        listing += word + '\n';
    ListingRewriter whole(facts.environmentRoot);
    const std::string once = whole.Feed(listing.data(), listing.size()) + whole.Finish();
    ListingRewriter pieces(facts.environmentRoot);
    std::string chunked;
    const size_t step = 1 + version.size() % 7;
    for (size_t at = 0; at < listing.size(); at += step)
        chunked += pieces.Feed(listing.data() + at, std::min(step, listing.size() - at));
    chunked += pieces.Finish();
    FUZZ_CHECK(once == chunked);
    return 0;
}
