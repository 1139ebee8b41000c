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
        <source>ConnectFailedMessage</source>
        <translation>Could not connect to %1:%2.
%3</translation>
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
        <source>LocalStoreUnusableMessage</source>
        <translation>Saved connections cannot be read or stored: the local database %1 could not be opened (%2).
The file has been left as it is.</translation>
    </message>
    <message>
        <source>ProfileSaveFailedMessage</source>
        <translation>The connection profile “%1” could not be saved: %2</translation>
    </message>
    <message>
        <source>ProfileDeleteFailedMessage</source>
        <translation>The connection profile “%1” could not be deleted: %2</translation>
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
    <message>
        <source>RemoveItemNil</source>
        <translation>Select the keys to remove first.</translation>
    </message>
    <message>
        <source>ExportDataNil</source>
        <translation>There are no keys to export.</translation>
    </message>
    <message>
        <source>EmptyAllKeyMessage</source>
        <translation>Remove every key of %1 from the server?</translation>
    </message>
    <message>
        <source>EmptyQueryKeysMessage</source>
        <translation>Remove the keys of %1 that match %2 from the server? Matching keys: %3. This cannot be undone.</translation>
    </message>
    <message>
        <source>QueryKeysRemoved</source>
        <translation>Keys removed: %1 of the %2 found.</translation>
    </message>
    <message>
        <source>ConsoleCommandRunning</source>
        <translation>A command is running: waiting for its reply.</translation>
    </message>
    <message>
        <source>ConsoleCommandsQueued</source>
        <translation>A command is running; sent after its reply: %1</translation>
    </message>
    <message>
        <source>ConsoleLongLine</source>
        <translation>%1… (%2 characters in all)</translation>
    </message>
    <message>
        <source>ConsoleQueueNotSent</source>
        <translation>No database is selected: the commands typed while the reply was coming were not sent.</translation>
    </message>
    <message>
        <source>InsertNewData</source>
        <translation>Add a key</translation>
    </message>
    <message>
        <source>DeleteSeletedRowData</source>
        <translation>Remove the selected keys</translation>
    </message>
    <message>
        <source>RandomGenerateData</source>
        <translation>Add sample keys</translation>
    </message>
    <message>
        <source>ImportDataFromFile</source>
        <translation>Import commands from a file</translation>
    </message>
    <message>
        <source>ExportDataAsFile</source>
        <translation>Export the keys to a file</translation>
    </message>
    <message>
        <source>EmptyAllData</source>
        <translation>Remove all keys</translation>
    </message>
    <message>
        <source>GoFirstPage</source>
        <translation>First page</translation>
    </message>
    <message>
        <source>GoPrePage</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>GoNextPage</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>GoLastPage</source>
        <translation>Last page</translation>
    </message>
    <message>
        <source>facebook</source>
        <translation>Facebook</translation>
    </message>
    <message>
        <source>twitter</source>
        <translation>Twitter</translation>
    </message>
    <message>
        <source>sinaweibo</source>
        <translation>Sina Weibo</translation>
    </message>
    <message>
        <source>tencentweibo</source>
        <translation>Tencent Weibo</translation>
    </message>
</context>
</TS>
