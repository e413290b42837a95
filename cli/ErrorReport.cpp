#include "cli/ErrorReport.h"

#include "cli/CliError.h"
#include "cli/DomainError.h"
#include "cli/LoggerError.h"

#include <boost/program_options/errors.hpp>

#include <iostream>

void printCliErrorMessage(std::exception const& error)
{
    std::cerr << "Syntax error: " << error.what() << std::endl;
    std::cerr << "To see a list of all supported commands, run 'qvadmin --help'." << std::endl;
    std::cerr << "To see a list of options supported by a specific command, run 'qvadmin <command> --help'"
              << std::endl;
}

int reportCurrentException() noexcept
{
    try {
        throw;
    } catch (CliError const& error) {
        printCliErrorMessage(error);
    } catch (boost::program_options::error const& error) {
        printCliErrorMessage(error);
    } catch (LoggerError const& error) {
        std::cerr << "Logger error: " << error.what() << std::endl;
    } catch (OperationFailedError const&) {
        // The strategy has printed every token's outcome already.
    } catch (std::exception const& error) {
        std::cerr << "Error: " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "Something went wrong..." << std::endl;
    }
    return -1;
}
