#pragma once

class BaseInputMode;
class GenerateInputMode;

// Sees the way a PIN manager chose; a generated PIN is the only one told apart.
class BasePinManagerVisitor {
public:
    virtual ~BasePinManagerVisitor() = default;
    // Options, console and default ways.
    virtual void visit(BaseInputMode& mode) = 0;
    virtual void visit(GenerateInputMode& mode) = 0;
};
