#include "parser.h"

#include "platform/com/text.h"

namespace zorv::vbs {
namespace {

// Nesting beyond this is refused rather than risking the native stack.
constexpr int kMaxDepth = 400;

struct ParseFailure {
    ScriptError error;
};

enum Level {
    kImp = 1,
    kEqv,
    kXor,
    kOr,
    kAnd,
    kNot,
    kCompare,
    kConcat,
    kAdditive,
    kMod,
    kIntDiv,
    kMultiplicative,
    kUnary,
    kPower
};

// Binary operators by token: their level, or 0.
int BinaryLevel(Tok kind) {
    switch (kind) {
    case Tok::KwImp:
        return kImp;
    case Tok::KwEqv:
        return kEqv;
    case Tok::KwXor:
        return kXor;
    case Tok::KwOr:
        return kOr;
    case Tok::KwAnd:
        return kAnd;
    case Tok::Eq:
    case Tok::Ne:
    case Tok::Lt:
    case Tok::Gt:
    case Tok::Le:
    case Tok::Ge:
    case Tok::KwIs:
        return kCompare;
    case Tok::Amp:
        return kConcat;
    case Tok::Plus:
    case Tok::Minus:
        return kAdditive;
    case Tok::KwMod:
        return kMod;
    case Tok::Backslash:
        return kIntDiv;
    case Tok::Star:
    case Tok::Slash:
        return kMultiplicative;
    case Tok::Caret:
        return kPower;
    default:
        return 0;
    }
}

bool SameWord(const Token& token, std::u16string_view word) {
    return token.kind == Tok::Identifier && com::EqualsIgnoringCase(token.text, word);
}

class Parser {
public:
    explicit Parser(std::u16string_view source) : tokens_(Tokenize(source, &tokenMemory_)) {}

    ParseResult Script() {
        ParseResult result;
        while (!At(Tok::End)) {
            if (SkipSeparators())
                continue;
            Guarded([&] { TopLevelItem(result.ast); });
            for (TopItem& hoisted : hoisted_)
                result.ast.items.push_back(std::move(hoisted));
            hoisted_.clear();
        }
        result.ast.optionExplicit = optionExplicit_;
        result.errors = std::move(errors_);
        result.memory = std::move(treeMemory_);
        return result;
    }

    ParseResult ExpressionOnly(ExprPtr& out) {
        ParseResult result;
        Guarded([&] {
            out = Expression();
            while (At(Tok::Newline) || At(Tok::Colon))
                Advance();
            if (!At(Tok::End))
                Fail(kErrExpectedEndOfStatement);
        });
        result.errors = std::move(errors_);
        result.memory = std::move(treeMemory_);
        return result;
    }

private:
    // ---- token access ----
    const Token& Current() const { return tokens_[index_]; }
    const Token& PeekToken(std::size_t ahead = 1) const {
        return tokens_[std::min(index_ + ahead, tokens_.size() - 1)];
    }
    bool At(Tok kind) const { return Current().kind == kind; }
    bool AtWord(std::u16string_view word) const { return SameWord(Current(), word); }
    const Token& Advance() {
        const Token& token = tokens_[index_];
        if (index_ + 1 < tokens_.size())
            ++index_;
        return token;
    }
    bool Accept(Tok kind) {
        if (!At(kind))
            return false;
        Advance();
        return true;
    }
    [[noreturn]] void Fail(int number) { FailAt(number, Current().pos); }
    [[noreturn]] void FailAt(int number, SourcePos pos) {
        if (At(Tok::Invalid)) {
            number = Current().error;
            pos = Current().pos;
        }
        ScriptError error(number);
        error.pos = pos;
        error.positioned = true;
        throw ParseFailure{error};
    }
    const Token& Expect(Tok kind, int number) {
        if (!At(kind))
            Fail(number);
        return Advance();
    }
    std::u16string ExpectIdentifier() { return Expect(Tok::Identifier, kErrExpectedIdentifier).text; }
    bool AtStatementEnd() const { return At(Tok::Newline) || At(Tok::Colon) || At(Tok::End); }
    bool SkipSeparators() {
        bool skipped = false;
        while (At(Tok::Newline) || At(Tok::Colon)) {
            Advance();
            skipped = true;
        }
        return skipped;
    }

    // Runs one statement's parse; on failure keeps the error and skips to the next line.
    template <class Body> void Guarded(Body&& body) {
        try {
            body();
        } catch (const ParseFailure& failure) {
            if (errors_.size() < 100)
                errors_.push_back(failure.error);
            while (!At(Tok::End) && !At(Tok::Newline))
                Advance();
            if (errors_.size() >= 100)
                index_ = tokens_.size() - 1;
        }
    }

    struct DepthGuard {
        Parser& parser;
        explicit DepthGuard(Parser& p) : parser(p) {
            if (++parser.depth_ > kMaxDepth)
                parser.Fail(kErrOutOfStack);
        }
        ~DepthGuard() { --parser.depth_; }
    };

    // Nodes are charged to the memory guard before they are made.
    void ChargeNode(std::size_t bytes) {
        try {
            treeMemory_.Charge(HeapFootprint(bytes));
        } catch (ScriptError& error) {
            error.pos = Current().pos;
            error.positioned = true;
            throw;
        }
    }
    ExprPtr MakeExpr(ExprKind kind, SourcePos pos) {
        ChargeNode(sizeof(Expr));
        auto expr = std::make_unique<Expr>();
        expr->kind = kind;
        expr->pos = pos;
        return expr;
    }
    StmtPtr MakeStmt(StmtKind kind, SourcePos pos) {
        ChargeNode(sizeof(Stmt));
        auto stmt = std::make_unique<Stmt>();
        stmt->kind = kind;
        stmt->pos = pos;
        return stmt;
    }

    // ---- script level ----

    // topLevelItem: classDecl | procDecl | [Public|Private] (varList | procDecl | Const) | statement
    void TopLevelItem(ScriptAst& ast) {
        TopItem item;
        if (At(Tok::KwClass)) {
            item.cls = ClassDeclaration();
        } else if (At(Tok::KwPublic) || At(Tok::KwPrivate)) {
            const bool isPublic = At(Tok::KwPublic);
            Advance();
            const bool isDefault = AtDefaultKeyword() && (Advance(), true);
            if (At(Tok::KwSub) || At(Tok::KwFunction) || At(Tok::KwProperty)) {
                item.proc = ProcDeclaration(isPublic, isDefault);
            } else if (isDefault) {
                Fail(kErrDefaultOnlyOnMembers);
            } else if (At(Tok::KwConst)) {
                item.statement = ConstStatement();
            } else {
                item.statement = DimList(Current().pos);
                item.isPublicDim = true;
            }
        } else if (At(Tok::KwSub) || At(Tok::KwFunction) || At(Tok::KwProperty)) {
            item.proc = ProcDeclaration(true, false);
        } else {
            item.statement = Statement();
            if (!item.statement)
                return;
        }
        if (!item.proc && !item.cls)
            EndOfStatement();
        ast.items.push_back(std::move(item));
    }

    void EndOfStatement() {
        if (!AtStatementEnd() && !(singleLineIf_ > 0 && (At(Tok::KwElse) || AtEndIf())) && !AtBlockCloser())
            Fail(kErrExpectedEndOfStatement);
    }

    // End Sub, End Function, End Property or End Class may follow a
    // statement on its line, as if a colon stood between them.
    bool AtEndIf() const { return At(Tok::KwEnd) && PeekToken().kind == Tok::KwIf; }
    bool AtBlockCloser() const {
        if (!At(Tok::KwEnd))
            return false;
        const Tok next = PeekToken().kind;
        return next == Tok::KwSub || next == Tok::KwFunction || next == Tok::KwProperty ||
               next == Tok::KwClass;
    }

    // "Default" declares the default member only before Sub, Function or
    // Property; elsewhere it is a name.
    bool AtDefaultKeyword() const {
        if (!AtWord(u"Default"))
            return false;
        const Tok next = PeekToken().kind;
        return next == Tok::KwSub || next == Tok::KwFunction || next == Tok::KwProperty;
    }

    // classDecl: Class name NEWLINE { classMember } End Class
    std::unique_ptr<ClassDecl> ClassDeclaration() {
        auto cls = std::make_unique<ClassDecl>();
        cls->pos = Advance().pos;
        cls->name = ExpectIdentifier();
        EndOfStatement();
        for (;;) {
            SkipSeparators();
            if (At(Tok::End))
                Fail(kErrExpectedEnd);
            if (At(Tok::KwEnd) && PeekToken().kind == Tok::KwClass) {
                Advance();
                Advance();
                break;
            }
            Guarded([&] { ClassMember(*cls); });
        }
        return cls;
    }

    // classMember: [Public [Default] | Private] (procDecl | varList) | Dim varList | Const ...
    void ClassMember(ClassDecl& cls) {
        bool isPublic = true;
        bool isDefault = false;
        bool hadAccess = false;
        if (At(Tok::KwPublic) || At(Tok::KwPrivate)) {
            isPublic = At(Tok::KwPublic);
            hadAccess = true;
            Advance();
            if (AtDefaultKeyword()) {
                if (!isPublic)
                    Fail(kErrDefaultMustBePublic);
                Advance();
                isDefault = true;
            }
        }
        if (At(Tok::KwSub) || At(Tok::KwFunction) || At(Tok::KwProperty)) {
            cls.procs.push_back(ProcDeclaration(isPublic, isDefault));
            return;
        }
        if (isDefault)
            Fail(kErrDefaultOnlyOnMembers);
        if (At(Tok::KwConst)) {
            auto stmt = ConstStatement();
            for (auto& c : stmt->consts)
                cls.consts.push_back(std::move(c));
        } else {
            if (!hadAccess)
                Expect(Tok::KwDim, kErrExpectedStatement);
            else
                Accept(Tok::KwDim);
            do {
                cls.fields.push_back({DimDeclarator(), isPublic});
            } while (Accept(Tok::Comma));
        }
        EndOfStatement();
    }

    // procDecl: (Sub | Function | Property (Get|Let|Set)) name [ '(' params ')' ] NEWLINE block End
    // (Sub|Function|Property)
    std::unique_ptr<ProcDecl> ProcDeclaration(bool isPublic, bool isDefault) {
        auto proc = std::make_unique<ProcDecl>();
        proc->isPublic = isPublic;
        proc->isDefault = isDefault;
        proc->pos = Current().pos;
        Tok closer = Current().kind;
        if (Accept(Tok::KwSub)) {
            proc->kind = ProcKind::Sub;
        } else if (Accept(Tok::KwFunction)) {
            proc->kind = ProcKind::Function;
        } else {
            Advance();
            if (AtWord(u"Get"))
                proc->kind = ProcKind::PropertyGet;
            else if (AtWord(u"Let"))
                proc->kind = ProcKind::PropertyLet;
            else if (At(Tok::KwSet))
                proc->kind = ProcKind::PropertySet;
            else
                Fail(kErrExpectedLetSetGet);
            Advance();
        }
        if (isDefault && (proc->kind == ProcKind::PropertyLet || proc->kind == ProcKind::PropertySet))
            Fail(kErrDefaultOnlyOnGet);
        proc->name = ExpectIdentifier();
        const bool hadParameterList = At(Tok::LParen);
        if (Accept(Tok::LParen)) {
            if (!At(Tok::RParen)) {
                do {
                    proc->params.push_back(Parameter());
                } while (Accept(Tok::Comma));
            }
            Expect(Tok::RParen, kErrExpectedRParen);
        }
        if ((proc->kind == ProcKind::PropertyLet || proc->kind == ProcKind::PropertySet) &&
            proc->params.empty())
            Fail(kErrPropertyNeedsArg);
        // After a parameter list the body may start on the header's line
        // without a colon: Function f(a) f = a + 1 : End Function.
        if (!hadParameterList)
            EndOfStatement();
        ++procDepth_;
        proc->body = BlockUntil({Tok::KwEnd});
        --procDepth_;
        Expect(Tok::KwEnd, closer == Tok::KwSub        ? kErrExpectedSub
                           : closer == Tok::KwFunction ? kErrExpectedFunction
                                                       : kErrExpectedProperty);
        if (!Accept(closer))
            Fail(closer == Tok::KwSub        ? kErrExpectedSub
                 : closer == Tok::KwFunction ? kErrExpectedFunction
                                             : kErrExpectedProperty);
        EndOfStatement();
        return proc;
    }

    // [Public | Private] (Sub | Function | Property): a procedure header.
    bool AtProcedureHeader() const {
        const bool access = At(Tok::KwPublic) || At(Tok::KwPrivate);
        const Tok kind = access ? PeekToken().kind : Current().kind;
        return kind == Tok::KwSub || kind == Tok::KwFunction || kind == Tok::KwProperty;
    }

    // A procedure written inside a block of script-level code (If False
    // Then ... Sub S ... End If) is declared all the same, whatever the
    // block does when it runs: it joins the script's procedures.
    void HoistedProcedure() {
        const bool isPublic = !At(Tok::KwPrivate);
        if (At(Tok::KwPublic) || At(Tok::KwPrivate))
            Advance();
        TopItem item;
        item.proc = ProcDeclaration(isPublic, false);
        hoisted_.push_back(std::move(item));
    }

    // param: [ByVal | ByRef] name [ '(' ')' ]
    Param Parameter() {
        Param param;
        if (Accept(Tok::KwByVal))
            param.byRef = false;
        else
            Accept(Tok::KwByRef);
        param.pos = Current().pos;
        param.name = ExpectIdentifier();
        if (Accept(Tok::LParen)) {
            Expect(Tok::RParen, kErrExpectedRParen);
            param.isArray = true;
        }
        return param;
    }

    // block: { statement separator } up to one of the closing keywords
    Block BlockUntil(std::initializer_list<Tok> closers) {
        DepthGuard guard(*this);
        Block block;
        for (;;) {
            SkipSeparators();
            if (At(Tok::End))
                return block;
            for (Tok closer : closers)
                if (At(closer))
                    return block;
            Guarded([&] {
                if (procDepth_ == 0 && AtProcedureHeader()) {
                    HoistedProcedure();
                    return;
                }
                if (At(Tok::KwSub) || At(Tok::KwFunction) || At(Tok::KwClass) ||
                    ((At(Tok::KwPublic) || At(Tok::KwPrivate)) && procDepth_ > 0))
                    Fail(kErrExpectedStatement);
                StmtPtr stmt = Statement();
                if (stmt)
                    block.push_back(std::move(stmt));
                EndOfStatement();
            });
        }
    }

    // ---- statements ----

    // statement: one of the statement forms below, chosen by its first token
    StmtPtr Statement() {
        DepthGuard guard(*this);
        chain_ = 0;
        const SourcePos pos = Current().pos;
        switch (Current().kind) {
        case Tok::KwDim:
            Advance();
            return DimList(pos);
        case Tok::KwReDim:
            return ReDimStatement();
        case Tok::KwConst:
            return ConstStatement();
        case Tok::KwIf:
            return IfStatement();
        case Tok::KwSelect:
            return SelectStatement();
        case Tok::KwFor:
            return ForStatement();
        case Tok::KwDo:
            return DoStatement();
        case Tok::KwWhile:
            return WhileStatement();
        case Tok::KwExit:
            return ExitStatement();
        case Tok::KwWith:
            return WithStatement();
        case Tok::KwOn:
            return OnErrorStatement();
        case Tok::KwErase:
            return EraseStatement();
        case Tok::KwOption:
            return OptionStatement();
        case Tok::KwSet:
            return SetStatement();
        case Tok::KwCall:
            return CallStatement();
        case Tok::Identifier:
            if (AtWord(u"Stop") && (PeekToken().kind == Tok::Newline || PeekToken().kind == Tok::Colon ||
                                    PeekToken().kind == Tok::End))
                return StopStatement();
            return AssignOrCall();
        case Tok::KwLoop:
            Fail(kErrLoopWithoutDo);
        case Tok::KwNext:
            Fail(kErrUnexpectedNext);
        case Tok::KwMe:
        case Tok::Dot:
            return AssignOrCall();
        default:
            Fail(kErrExpectedStatement);
        }
    }

    // dimList: declarator { ',' declarator }   (after Dim, Public or Private)
    StmtPtr DimList(SourcePos pos) {
        auto stmt = MakeStmt(StmtKind::Dim, pos);
        do {
            stmt->dims.push_back(DimDeclarator());
        } while (Accept(Tok::Comma));
        return stmt;
    }

    // declarator: name [ '(' [ bound { ',' bound } ] ')' ]
    DimItem DimDeclarator() {
        DimItem item;
        item.pos = Current().pos;
        item.name = ExpectIdentifier();
        if (Accept(Tok::LParen)) {
            item.isArray = true;
            if (!At(Tok::RParen)) {
                do {
                    item.bounds.push_back(Expression());
                } while (Accept(Tok::Comma));
            }
            Expect(Tok::RParen, kErrExpectedRParen);
        }
        return item;
    }

    // reDim: ReDim [Preserve] name '(' bounds ')' { ',' name '(' bounds ')' }
    StmtPtr ReDimStatement() {
        auto stmt = MakeStmt(StmtKind::ReDim, Advance().pos);
        if (AtWord(u"Preserve")) {
            Advance();
            stmt->preserve = true;
        }
        do {
            DimItem item = DimDeclarator();
            if (!item.isArray || item.bounds.empty())
                FailAt(kErrExpectedLParen, item.pos);
            stmt->dims.push_back(std::move(item));
        } while (Accept(Tok::Comma));
        return stmt;
    }

    // constStatement: Const name '=' constExpr { ',' name '=' constExpr }
    StmtPtr ConstStatement() {
        auto stmt = MakeStmt(StmtKind::Const, Advance().pos);
        do {
            ConstItem item;
            item.pos = Current().pos;
            item.name = ExpectIdentifier();
            Expect(Tok::Eq, kErrExpectedEquals);
            item.value = Expression();
            stmt->consts.push_back(std::move(item));
        } while (Accept(Tok::Comma));
        return stmt;
    }

    // ifStatement: If expr Then (NEWLINE block {ElseIf expr Then block} [Else block] End If | singleLineIf)
    StmtPtr IfStatement() {
        auto stmt = MakeStmt(StmtKind::If, Advance().pos);
        Branch first;
        first.pos = stmt->pos;
        first.condition = Expression();
        Expect(Tok::KwThen, kErrExpectedThen);
        if (!At(Tok::Newline) && !At(Tok::End)) {
            SingleLineIf(*stmt, std::move(first));
            return stmt;
        }
        first.body = BlockUntil({Tok::KwElseIf, Tok::KwElse, Tok::KwEnd});
        stmt->branches.push_back(std::move(first));
        while (At(Tok::KwElseIf)) {
            Branch branch;
            branch.pos = Advance().pos;
            branch.condition = Expression();
            Expect(Tok::KwThen, kErrExpectedThen);
            branch.body = BlockUntil({Tok::KwElseIf, Tok::KwElse, Tok::KwEnd});
            stmt->branches.push_back(std::move(branch));
        }
        if (At(Tok::KwElse)) {
            Branch branch;
            branch.pos = Advance().pos;
            branch.isElse = true;
            branch.body = BlockUntil({Tok::KwEnd});
            stmt->branches.push_back(std::move(branch));
        }
        Expect(Tok::KwEnd, kErrExpectedEnd);
        Expect(Tok::KwIf, kErrExpectedIf);
        return stmt;
    }

    // singleLineIf: statement { ':' statement } [Else statement { ':' statement }] [End If]
    void SingleLineIf(Stmt& stmt, Branch first) {
        ++singleLineIf_;
        first.body = InlineStatements();
        stmt.branches.push_back(std::move(first));
        if (At(Tok::KwElse)) {
            Branch branch;
            branch.pos = Advance().pos;
            branch.isElse = true;
            branch.body = InlineStatements();
            stmt.branches.push_back(std::move(branch));
        }
        if (At(Tok::KwEnd) && PeekToken().kind == Tok::KwIf) {
            Advance();
            Advance();
        }
        --singleLineIf_;
    }

    Block InlineStatements() {
        Block block;
        for (;;) {
            while (Accept(Tok::Colon)) {
            }
            if (At(Tok::Newline) || At(Tok::End) || At(Tok::KwElse) || AtEndIf() || AtBlockCloser())
                return block;
            StmtPtr stmt = Statement();
            if (stmt)
                block.push_back(std::move(stmt));
            EndOfStatement();
        }
    }

    // selectStatement: Select Case expr NEWLINE { Case (Else | exprList) block } End Select
    StmtPtr SelectStatement() {
        auto stmt = MakeStmt(StmtKind::Select, Advance().pos);
        Expect(Tok::KwCase, kErrExpectedCase);
        stmt->value = Expression();
        EndOfStatement();
        SkipSeparators();
        while (At(Tok::KwCase)) {
            Branch branch;
            branch.pos = Advance().pos;
            if (Accept(Tok::KwElse)) {
                branch.isElse = true;
            } else {
                do {
                    branch.values.push_back(Expression());
                } while (Accept(Tok::Comma));
            }
            // A statement may follow the label on its line, without a colon.
            branch.body = BlockUntil({Tok::KwCase, Tok::KwEnd});
            stmt->branches.push_back(std::move(branch));
        }
        Expect(Tok::KwEnd, kErrExpectedEnd);
        Expect(Tok::KwSelect, kErrExpectedSelect);
        return stmt;
    }

    // forStatement: For name '=' expr To expr [Step expr] block Next [name]
    //             | For Each name In expr block Next [name]
    StmtPtr ForStatement() {
        const SourcePos pos = Advance().pos;
        if (Accept(Tok::KwEach)) {
            auto stmt = MakeStmt(StmtKind::ForEach, pos);
            stmt->target = NameExpr();
            Expect(Tok::KwIn, kErrExpectedIn);
            stmt->value = Expression();
            stmt->body = LoopBody();
            return stmt;
        }
        auto stmt = MakeStmt(StmtKind::For, pos);
        if (!At(Tok::Identifier))
            Fail(kErrInvalidForVariable);
        stmt->target = NameExpr();
        Expect(Tok::Eq, kErrExpectedEquals);
        stmt->value = Expression();
        Expect(Tok::KwTo, kErrExpectedTo);
        stmt->to = Expression();
        if (AtWord(u"Step")) {
            Advance();
            stmt->step = Expression();
        }
        stmt->body = LoopBody();
        return stmt;
    }

    Block LoopBody() {
        EndOfStatement();
        Block body = BlockUntil({Tok::KwNext});
        Expect(Tok::KwNext, kErrExpectedNext);
        if (At(Tok::Identifier))
            Advance();
        return body;
    }

    ExprPtr NameExpr() {
        auto expr = MakeExpr(ExprKind::Name, Current().pos);
        expr->name = ExpectIdentifier();
        return expr;
    }

    // doStatement: Do [(While|Until) expr] block Loop [(While|Until) expr]
    StmtPtr DoStatement() {
        auto stmt = MakeStmt(StmtKind::Do, Advance().pos);
        if (At(Tok::KwWhile) || At(Tok::KwUntil)) {
            stmt->doTest = Advance().kind == Tok::KwWhile ? DoTest::PreWhile : DoTest::PreUntil;
            stmt->value = Expression();
        } else if (!AtStatementEnd()) {
            Fail(kErrExpectedWhileUntilEnd);
        }
        EndOfStatement();
        stmt->body = BlockUntil({Tok::KwLoop});
        Expect(Tok::KwLoop, kErrExpectedLoop);
        if (At(Tok::KwWhile) || At(Tok::KwUntil)) {
            if (stmt->doTest != DoTest::None)
                Fail(kErrExpectedEndOfStatement);
            stmt->doTest = Advance().kind == Tok::KwWhile ? DoTest::PostWhile : DoTest::PostUntil;
            stmt->value = Expression();
        }
        return stmt;
    }

    // whileStatement: While expr block Wend
    StmtPtr WhileStatement() {
        auto stmt = MakeStmt(StmtKind::While, Advance().pos);
        stmt->value = Expression();
        EndOfStatement();
        stmt->body = BlockUntil({Tok::KwWend});
        Expect(Tok::KwWend, kErrExpectedWend);
        return stmt;
    }

    // exitStatement: Exit (Do | For | Sub | Function | Property)
    StmtPtr ExitStatement() {
        auto stmt = MakeStmt(StmtKind::Exit, Advance().pos);
        switch (Current().kind) {
        case Tok::KwDo:
            stmt->exitKind = ExitKind::Do;
            break;
        case Tok::KwFor:
            stmt->exitKind = ExitKind::For;
            break;
        case Tok::KwSub:
            stmt->exitKind = ExitKind::Sub;
            break;
        case Tok::KwFunction:
            stmt->exitKind = ExitKind::Function;
            break;
        case Tok::KwProperty:
            stmt->exitKind = ExitKind::Property;
            break;
        default:
            Fail(kErrInvalidExit);
        }
        Advance();
        return stmt;
    }

    // withStatement: With expr block End With
    StmtPtr WithStatement() {
        auto stmt = MakeStmt(StmtKind::With, Advance().pos);
        stmt->value = Expression();
        EndOfStatement();
        stmt->body = BlockUntil({Tok::KwEnd});
        Expect(Tok::KwEnd, kErrExpectedEnd);
        Expect(Tok::KwWith, kErrExpectedWith);
        return stmt;
    }

    // onError: On Error (Resume Next | GoTo 0)
    StmtPtr OnErrorStatement() {
        const SourcePos pos = Advance().pos;
        if (!AtWord(u"Error"))
            Fail(kErrSyntax);
        Advance();
        if (Accept(Tok::KwResume)) {
            Expect(Tok::KwNext, kErrExpectedNext);
            return MakeStmt(StmtKind::OnErrorResumeNext, pos);
        }
        Expect(Tok::KwGoTo, kErrSyntax);
        if (!At(Tok::Integer) || Current().integer != 0)
            Fail(kErrSyntax);
        Advance();
        return MakeStmt(StmtKind::OnErrorGoto0, pos);
    }

    // eraseStatement: Erase name { ',' name }
    StmtPtr EraseStatement() {
        auto stmt = MakeStmt(StmtKind::Erase, Advance().pos);
        do {
            DimItem item;
            item.pos = Current().pos;
            item.name = ExpectIdentifier();
            stmt->dims.push_back(std::move(item));
        } while (Accept(Tok::Comma));
        return stmt;
    }

    // stopStatement: Stop    (a breakpoint for a debugger; nothing here)
    StmtPtr StopStatement() { return MakeStmt(StmtKind::Stop, Advance().pos); }

    // optionStatement: Option Explicit
    StmtPtr OptionStatement() {
        const SourcePos pos = Advance().pos;
        if (!AtWord(u"Explicit"))
            Fail(kErrSyntax);
        Advance();
        optionExplicit_ = true;
        return MakeStmt(StmtKind::OptionExplicit, pos);
    }

    // setStatement: Set target '=' (expr | New name)
    StmtPtr SetStatement() {
        auto stmt = MakeStmt(StmtKind::Set, Advance().pos);
        stmt->target = Target(false);
        Expect(Tok::Eq, kErrExpectedEquals);
        stmt->value = Expression();
        return stmt;
    }

    // callStatement: Call (target | '(' expr ')' postfixes)    (arguments in parentheses, passed by
    // reference)
    StmtPtr CallStatement() {
        auto stmt = MakeStmt(StmtKind::Call, Advance().pos);
        stmt->target = At(Tok::LParen) ? Primary() : Target(false);
        if (stmt->target->kind != ExprKind::Name && stmt->target->kind != ExprKind::Member &&
            stmt->target->kind != ExprKind::Call)
            Fail(kErrExpectedIdentifier);
        return stmt;
    }

    // assignOrCall: target '=' expr | target [argList]
    StmtPtr AssignOrCall() {
        const SourcePos pos = Current().pos;
        ExprPtr target = Target(true);
        if (At(Tok::LParen) && Current().spaceBefore)
            return SpacedCall(pos, std::move(target));
        if (Accept(Tok::Eq)) {
            auto stmt = MakeStmt(StmtKind::Assign, pos);
            stmt->target = std::move(target);
            stmt->value = Expression();
            return stmt;
        }
        auto stmt = MakeStmt(StmtKind::Call, pos);
        if (target->kind == ExprKind::Call && AtStatementEnd()) {
            // f(x) as a statement: the parentheses belong to the one argument.
            if (target->args.size() > 1)
                FailAt(kErrParensOnSubCall, target->pos);
            if (target->args.size() == 1 && target->args[0]->kind != ExprKind::Missing) {
                auto paren = MakeExpr(ExprKind::Paren, target->args[0]->pos);
                paren->left = std::move(target->args[0]);
                target->args[0] = std::move(paren);
            }
            stmt->target = std::move(target);
            return stmt;
        }
        if (target->kind == ExprKind::Literal || target->kind == ExprKind::Me)
            Fail(kErrExpectedStatement);
        stmt->target = WrapCall(std::move(target));
        if (!AtStatementEnd() && !(singleLineIf_ > 0 && At(Tok::KwElse)))
            ArgumentList(stmt->target->args, nullptr);
        return stmt;
    }

    // f (x) ... : a parenthesised first argument, unless it is "a (i) = v".
    StmtPtr SpacedCall(SourcePos pos, ExprPtr callee) {
        const SourcePos open = Current().pos;
        Advance();
        std::vector<ExprPtr> inner;
        if (!At(Tok::RParen))
            Arguments(inner, Tok::RParen);
        Expect(Tok::RParen, kErrExpectedRParen);
        if (Accept(Tok::Eq)) {
            auto stmt = MakeStmt(StmtKind::Assign, pos);
            auto call = MakeExpr(ExprKind::Call, callee->pos);
            call->left = std::move(callee);
            call->args = std::move(inner);
            stmt->target = std::move(call);
            stmt->value = Expression();
            return stmt;
        }
        auto stmt = MakeStmt(StmtKind::Call, pos);
        stmt->target = WrapCall(std::move(callee));
        if (inner.size() > 1)
            FailAt(kErrParensOnSubCall, open);
        ExprPtr first;
        if (!inner.empty()) {
            first = MakeExpr(ExprKind::Paren, open);
            first->left = std::move(inner[0]);
            first = Continue(std::move(first));
        }
        if (first)
            stmt->target->args.push_back(std::move(first));
        if (Accept(Tok::Comma))
            ArgumentList(stmt->target->args, nullptr);
        return stmt;
    }

    ExprPtr WrapCall(ExprPtr callee) {
        auto call = MakeExpr(ExprKind::Call, callee->pos);
        call->left = std::move(callee);
        return call;
    }

    // argList: [expr] { ',' [expr] }    (an empty place is an argument left out)
    void ArgumentList(std::vector<ExprPtr>& args, const Token*) { Arguments(args, Tok::End); }

    void Arguments(std::vector<ExprPtr>& args, Tok closer) {
        for (;;) {
            if (At(Tok::Comma) || (closer == Tok::RParen && At(Tok::RParen)) ||
                (closer == Tok::End && AtStatementEnd()))
                args.push_back(MakeExpr(ExprKind::Missing, Current().pos));
            else
                args.push_back(Expression());
            if (!Accept(Tok::Comma))
                return;
        }
    }

    // target: (name | Me | '.' name) { '.' name | '(' args ')' }
    // At a statement's start a spaced '(' ends the target: "f (x)" passes (x).
    ExprPtr Target(bool statementStart) {
        ExprPtr expr;
        const SourcePos pos = Current().pos;
        if (At(Tok::Identifier)) {
            expr = MakeExpr(ExprKind::Name, pos);
            expr->name = Advance().text;
        } else if (Accept(Tok::KwMe)) {
            expr = MakeExpr(ExprKind::Me, pos);
        } else if (At(Tok::Dot)) {
            Advance();
            expr = MakeExpr(ExprKind::Member, pos);
            expr->name = ExpectIdentifier();
        } else {
            Fail(kErrExpectedIdentifier);
        }
        return Postfix(std::move(expr), statementStart);
    }

    ExprPtr Postfix(ExprPtr expr, bool statementStart) {
        for (;;) {
            if (At(Tok::Dot) && !Current().spaceBefore) {
                Advance();
                auto member = MakeExpr(ExprKind::Member, Current().pos);
                member->name = ExpectIdentifier();
                member->left = std::move(expr);
                expr = std::move(member);
            } else if (At(Tok::LParen) && !(statementStart && Current().spaceBefore)) {
                auto call = MakeExpr(ExprKind::Call, Current().pos);
                Advance();
                if (!At(Tok::RParen))
                    Arguments(call->args, Tok::RParen);
                Expect(Tok::RParen, kErrExpectedRParen);
                call->left = std::move(expr);
                expr = std::move(call);
            } else {
                return expr;
            }
        }
    }

    // ---- expressions ----

    ExprPtr Expression() { return BinaryFrom(Unary(), kImp); }

    // Continues an expression whose first operand is already parsed.
    ExprPtr Continue(ExprPtr left) { return BinaryFrom(PostfixOnly(std::move(left)), kImp); }

    ExprPtr PostfixOnly(ExprPtr left) {
        // Binds ^ to the parenthesised operand first, as in f (2) ^ 2.
        return left;
    }

    // expr: unary { binaryOp unary }, by the precedence table above
    ExprPtr BinaryFrom(ExprPtr left, int minLevel) {
        DepthGuard guard(*this);
        for (;;) {
            const Tok op = Current().kind;
            const int level = BinaryLevel(op);
            if (level == 0 || level < minLevel)
                return left;
            const SourcePos pos = Advance().pos;
            ExprPtr right = BinaryFrom(Unary(), level + 1);
            auto binary = MakeExpr(ExprKind::Binary, pos);
            binary->op = op;
            binary->left = std::move(left);
            binary->right = std::move(right);
            left = std::move(binary);
            if (++chain_ > 1000)
                Fail(kErrOutOfStack);
        }
    }

    // unary: Not expr | '-' unary | '+' unary | primary
    ExprPtr Unary() {
        DepthGuard guard(*this);
        const SourcePos pos = Current().pos;
        if (Accept(Tok::KwNot)) {
            auto expr = MakeExpr(ExprKind::Unary, pos);
            expr->op = Tok::KwNot;
            expr->left = BinaryFrom(Unary(), kCompare);
            return expr;
        }
        if (Accept(Tok::Minus)) {
            auto expr = MakeExpr(ExprKind::Unary, pos);
            expr->op = Tok::Minus;
            expr->left = Unary();
            return expr;
        }
        if (Accept(Tok::Plus))
            return Unary();
        return Primary();
    }

    // primary: literal | name | Me | '.' name | '(' expr ')' | New name, then postfixes
    ExprPtr Primary() {
        const Token& token = Current();
        const SourcePos pos = token.pos;
        switch (token.kind) {
        case Tok::Integer: {
            auto expr = MakeExpr(ExprKind::Literal, pos);
            const std::int64_t n = token.integer;
            expr->literal = (n >= -32768 && n <= 32767) ? Value::Integer(static_cast<std::int16_t>(n))
                                                        : Value::Long(static_cast<std::int32_t>(n));
            Advance();
            return expr;
        }
        case Tok::Float:
            return Literal(Value::Double(Advance().number), pos);
        case Tok::String:
            return Literal(Value::String(Advance().text), pos);
        case Tok::Date:
            return Literal(Value::Date(Advance().number), pos);
        case Tok::KwTrue:
            Advance();
            return Literal(Value::Bool(true), pos);
        case Tok::KwFalse:
            Advance();
            return Literal(Value::Bool(false), pos);
        case Tok::KwEmpty:
            Advance();
            return Literal(Value(), pos);
        case Tok::KwNull:
            Advance();
            return Literal(Value::Null(), pos);
        case Tok::KwNothing:
            Advance();
            return Literal(Value::Nothing(), pos);
        case Tok::LParen: {
            Advance();
            auto expr = MakeExpr(ExprKind::Paren, pos);
            expr->left = Expression();
            Expect(Tok::RParen, kErrExpectedRParen);
            return Postfix(std::move(expr), false);
        }
        case Tok::KwNew: {
            Advance();
            auto expr = MakeExpr(ExprKind::New, pos);
            expr->name = ExpectIdentifier();
            return expr;
        }
        case Tok::Identifier:
        case Tok::KwMe:
        case Tok::Dot:
            return Target(false);
        default:
            Fail(kErrExpectedExpression);
        }
    }

    ExprPtr Literal(Value value, SourcePos pos) {
        auto expr = MakeExpr(ExprKind::Literal, pos);
        expr->literal = std::move(value);
        return expr;
    }

    MemoryHold tokenMemory_; // before the tokens, so that it outlives them
    MemoryHold treeMemory_;
    std::vector<Token> tokens_;
    std::size_t index_ = 0;
    std::vector<ScriptError> errors_;
    int depth_ = 0;
    int chain_ = 0;
    int singleLineIf_ = 0;
    int procDepth_ = 0;
    std::vector<TopItem> hoisted_; // procedures met inside blocks of script-level code
    bool optionExplicit_ = false;
};

} // namespace

ParseResult ParseScript(std::u16string_view source) {
    return Parser(source).Script();
}

ParseResult ParseExpressionText(std::u16string_view source, ExprPtr& expression) {
    return Parser(source).ExpressionOnly(expression);
}

} // namespace zorv::vbs
