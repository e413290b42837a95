#include "cli/ErrorReport.h"

#include "cli/CliError.h"
#include "cli/DomainError.h"
#include "cli/LoggerError.h"
#include "cli/controlCharacters.h"

#include <boost/program_options/errors.hpp>

#include <iostream>

void printCliErrorMessage(const std::exception& error)
{
    std::cerr << "Syntax error: " << escapeControlCharacters(error.what()) << std::endl;
    std::cerr << "To see a list of all supported commands, run 'qvadmin --help'." << std::endl;
    std::cerr << "To see a list of options supported by a specific command, run 'qvadmin <command> --help'"
              << std::endl;
}

int reportCurrentException() noexcept
{
    try {
        throw;
    } catch (const CliError& error) {
        printCliErrorMessage(error);
    } catch (const boost::program_options::error& error) {
        printCliErrorMessage(error);
    } catch (const LoggerError& error) {
        std::cerr << "Logger error: " << escapeControlCharacters(error.what()) << std::endl;
    } catch (const OperationFailedError&) {
        // The strategy has printed every token's outcome already.
    } catch (const std::exception& error) {
        std::cerr << "Error: " << escapeControlCharacters(error.what()) << std::endl;
    } catch (...) {
        std::cerr << "Something went wrong..." << std::endl;
    }
    return -1;
}
