-- The application's own records: connection profiles, the command reference and
-- version records. The build runs this file into the seed database "Deraz.sqlite"
-- that is copied to the user's Documents folder on first start.

CREATE TABLE DBProfile (
    ID INTEGER PRIMARY KEY,
    name TEXT,
    username TEXT,
    password TEXT,
    host TEXT,
    port INTEGER,
    url TEXT,
    alias TEXT,
    path TEXT,
    database TEXT,
    autoLogin INTEGER,
    scheme TEXT
);

CREATE TABLE DerazCommand (
    ID INTEGER PRIMARY KEY,
    command TEXT,
    args TEXT,
    desc TEXT,
    groupName TEXT,
    href TEXT
);

CREATE TABLE XXXAppVersion (
    versionID INTEGER PRIMARY KEY,
    versionNO TEXT,
    history TEXT
);
