<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Body</name>
    <message>
        <source>Skedra</source>
        <translation>Skedra</translation>
    </message>
</context>
<context>
    <name>ConnectStat</name>
    <message>
        <source>Disconnected</source>
        <translation>未接続</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>接続中</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>接続済</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>切断</translation>
    </message>
</context>
<context>
    <name>Tolva</name>
    <message>
        <source>Tolva Settings</source>
        <translation>Tolva 設定</translation>
    </message>
    <message>
        <source>Tolva:</source>
        <translation>Tolva:</translation>
    </message>
    <message>
        <source>Name on Tolva</source>
        <translation>Tolva 上の名前</translation>
    </message>
    <message>
        <source>Key File Name</source>
        <translation>キーファイル名</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>ホスト</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>ポート</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>未接続</translation>
    </message>
    <message>
        <source>Port [%1] is not a number from 1 to 65535; not connecting to Tolva.</source>
        <translation>ポート [%1] が 1〜65535 の数値ではないため、Tolva に接続しません。</translation>
    </message>
    <message>
        <source>A line from Tolva is longer than %1 bytes; closing the connection.</source>
        <translation>Tolva からの行が %1 バイトを超えたため、接続を閉じます。</translation>
    </message>
    <message>
        <source>Connected To Tolva</source>
        <translation>Tolva に接続しました</translation>
    </message>
    <message>
        <source>opening key file [%1]</source>
        <translation>キーファイル [%1] を開いています</translation>
    </message>
    <message>
        <source>Can&apos;t open key file [%1]</source>
        <translation>キーファイル [%1] を開けません</translation>
    </message>
    <message>
        <source>I have no key to exchange with Tolva.</source>
        <translation>Tolva と交換するキーがありません。</translation>
    </message>
    <message>
        <source>sending key [%1][key %2 of %3]</source>
        <translation>キーを送信中 [%1][%3 個中 %2 番目のキー]</translation>
    </message>
</context>
</TS>
