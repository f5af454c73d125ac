#pragma once
// A small data-access layer over SQLite that keeps the shape the rules code was
// written against: an engine with its workgroup file, named workspaces logged
// on with a user and password, databases, and dynaset recordsets that are
// walked with MoveFirst/MoveNext until EOF or searched with FindFirst.
//
// Every failure raises vb::Error with the number the old engine gave.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

struct sqlite3;

namespace dao {

class Database;
class Recordset;

enum RecordsetType { dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4 };

// One open database file. Shared by its owners; closed when the last one goes.
class Database {
public:
    Database() = default;
    bool isOpen() const;
    // The source is a bare table name, any letter case, brackets optional
    // (every row in stored order), or a query in the old dialect (see
    // SqlDialect.h); a query without ORDER BY keeps the first table's stored
    // order. Raises 3078 for a missing table, 3061 for a missing column.
    Recordset OpenRecordset(const QString &source, int type = dbOpenDynaset);
    // Runs SQLite statements as they stand (several, separated by ';').
    void Execute(const QString &sql);
    void Close();
    QString Name() const;
    sqlite3 *handle() const;

    struct Impl;
    std::shared_ptr<Impl> d;
};

struct OpenOptions {
    bool readOnly = false;
    // A file from outside (a character file someone sent): opened read-only,
    // defensive, without triggers or views, and checked page by page first.
    bool untrusted = false;
    // Read-only rules data: the rows of a source text are read once and shared
    // by every later recordset on the same text. Ignored on writable files.
    bool cacheRows = false;
};

// The application_id of the workgroup file.
inline constexpr int kWorkgroupApplicationId = 1364612935;

class Workspace {
public:
    Workspace() = default;
    QString Name() const { return m_name; }
    QString UserName() const { return m_user; }
    bool isValid() const { return !m_name.isEmpty(); }
    // Opens an existing database file; never creates one. Raises 3024 for a
    // missing file, 3343 for a file that is no database, 3049 for a damaged one.
    Database OpenDatabase(const QString &path, const OpenOptions &options = {});
    // Opens a database held in memory, from the bytes of a file already read:
    // nothing beside any file is read, made or changed, and a change reaches
    // no file. `name` is what Name() reports. Raises 3343 for bytes that are no
    // database and 3049 for a damaged one (the bytes claim to be a database).
    Database OpenDatabaseImage(const QByteArray &image, const QString &name, const OpenOptions &options = {});
    // Creates a new, empty database file (raises if it exists).
    Database CreateDatabase(const QString &path);

private:
    friend class DBEngine;
    QString m_name, m_user;
};

class DBEngine {
public:
    static DBEngine &instance();
    // The workgroup (security) file that holds users and passwords.
    QString SystemDB;
    // Checks the user and password against SystemDB (mind.dat beside the
    // program when empty); raises 3028 when the file is missing, unreadable or
    // no workgroup file, 3029 when the account or password is wrong.
    Workspace CreateWorkspace(const QString &name, const QString &user, const QString &password);
    void AppendWorkspace(const Workspace &ws);
    const std::vector<Workspace> &Workspaces() const { return m_workspaces; }
    void Idle() {}

private:
    std::vector<Workspace> m_workspaces;
};

inline DBEngine &DBEngine_() { return DBEngine::instance(); }

// A field value read by name. Value() is invalid (empty) for NULL.
class Field {
public:
    Field() = default;
    Field(QString name, QVariant value) : m_name(std::move(name)), m_value(std::move(value)) {}
    const QString &Name() const { return m_name; }
    const QVariant &Value() const { return m_value; }
    bool isNull() const { return !m_value.isValid() || m_value.isNull(); }
    QString toString() const { return m_value.toString(); }
    operator QVariant() const { return m_value; }

private:
    QString m_name;
    QVariant m_value;
};

// A dynaset: the rows of a source, a current position, and an edit buffer for
// AddNew/Update on a bare table.
class Recordset {
public:
    Recordset() = default;
    bool isOpen() const;
    bool Eof() const;  // the end-of-file mark (EOF is a C macro)
    bool BOF() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    // Criteria: "Col LIKE('v')" or "Col LIKE(v)" or "Col = v", joined by AND.
    // Positions on the first match, or sets NoMatch and keeps the position.
    void FindFirst(const QString &criteria);
    void FindNext(const QString &criteria);
    bool NoMatch() const;
    int RecordCount() const;
    double PercentPosition() const;
    int AbsolutePosition() const;
    // Field of the current row by name (case-insensitive); raises 3265 if the
    // column does not exist and 3021 when there is no current row.
    Field Fields(const QString &name) const;
    Field operator[](const QString &name) const { return Fields(name); }
    QVariant Value(const QString &name) const { return Fields(name).Value(); }
    int FieldCount() const;
    QString FieldName(int i) const;
    bool HasField(const QString &name) const;
    // Edit buffer for a new row of a table source.
    // Update inserts the row and appends it to this recordset; the current
    // row stays where it was. A bool is stored as -1 / 0.
    void AddNew();
    void SetField(const QString &name, const QVariant &value);
    void Update();
    void CancelUpdate();
    void Close();

    struct Impl;
    std::shared_ptr<Impl> d;
};

} // namespace dao
