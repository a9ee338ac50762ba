// tests/e2e/ScchostByMethod.h - scchost's end-to-end tests: scchost run as a program, against
// the test repository reached by each method.
#pragma once

#include "tests/e2e/BuildProducts.h"
#include "tests/e2e/RepositoryByMethod.h"

#include <string>
#include <vector>

namespace e2e {

class ScchostByMethod : public RepositoryByMethod {
protected:
    // Runs scchost in the folder with scripted answers (the password when there is one).
    testing_support::RunResult Scchost(std::vector<std::string> args, const std::string& folder) {
        std::vector<std::string> argv{"--ui", "headless"};
        if (server_)
            argv.insert(argv.end(), {"--password", server_->Password()});
        argv.insert(argv.end(), args.begin(), args.end());
        return RunScchost(argv, folder);
    }
};

} // namespace e2e
