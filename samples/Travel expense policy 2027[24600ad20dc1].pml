<?xml version="1.0" encoding="UTF-8"?>
<message>
<id>
<class>GW.MESSAGE.DOCUMENTREFERENCE</class>
<account>Robin Ashdown</account>
<mapi>5C21B0A0.halvorn.po1.100.1.1.1@1</mapi>
</id>
<props>
<core>
<archived>false</archived>
<notify-del>false</notify-del>
<routed>false</routed>
<routed-eol>false</routed-eol>
<read>true</read>
<private>false</private>
<notify-open>false</notify-open>
<hidden>false</hidden>
<opened>true</opened>
<deleted>false</deleted>
<convattach>false</convattach>
<rev-no>1</rev-no>
<reply-days-req>0</reply-days-req>
<reply-req>0</reply-req>
<from>Priya Ramaswamy</from>
<subject>Travel expense policy 2027</subject>
<view>mail</view>
<date-create>20261206T101500</date-create>
<date-modified>20261206T101500</date-modified>
<boxtype>1</boxtype>
<priority>2</priority>
<sender email-type="NGW" email-address="priya.ramaswamy@halvorn.example">Priya Ramaswamy</sender>
<recipients>
<recipient display-name="Robin Ashdown" target-type="0">robin.ashdown@halvorn.example</recipient>
</recipients>
</core>
<body>
<plain><![CDATA[Document: Travel expense policy 2027 (version 3), library Finance.
]]></plain>
</body>
<document-reference>
</document-reference>
</props>
<save-log date-saved="20240401T120000" status="0">
<item type="0">Saved by the archiver</item>
</save-log>
</message>
