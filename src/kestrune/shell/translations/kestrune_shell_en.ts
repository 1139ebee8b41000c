<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>KeySelectedNil</source>
        <translation>Select the keys to remove first.</translation>
    </message>
    <message>
        <source>DataBaseSelectedNil</source>
        <translation>Select a database first.</translation>
    </message>
    <message>
        <source>ConnnectNodeSelectedNil</source>
        <translation>Select the connections to close first.</translation>
    </message>
    <message>
        <source>DropKeyMessage</source>
        <translation>Remove the keys %1? This cannot be undone.</translation>
    </message>
    <message>
        <source>CloseConnectionMessage</source>
        <translation>Close the connections%1?</translation>
    </message>
    <message>
        <source>MagicTestDataMessage</source>
        <translation>Add %1 sample keys to %2?</translation>
    </message>
    <message>
        <source>ProfileDeleteMessage</source>
        <translation>Delete the profile “%1”?</translation>
    </message>
    <message>
        <source>ProfileHostNil</source>
        <translation>The profile “%1” has no host, so it cannot connect at start. Give it a host in the connection manager.</translation>
    </message>
    <message>
        <source>ProfileSchemeNotSupported</source>
        <translation>The profile is saved, but only Deraz servers can be connected, not “%1”.</translation>
    </message>
    <message>
        <source>CreateNewTable</source>
        <translation>Add a key</translation>
    </message>
    <message>
        <source>DeleteSeletedTable</source>
        <translation>Remove the selected keys</translation>
    </message>
    <message>
        <source>CreateNewProfile</source>
        <translation>New profile</translation>
    </message>
    <message>
        <source>DeleteSeletedProfile</source>
        <translation>Delete the selected profile</translation>
    </message>
    <message>
        <source>ReloadData</source>
        <translation>Reload</translation>
    </message>
</context>
</TS>
